#include "ui/main/AppWindows.h"

#include "ui/appobj/IOAppObj.h"
#include "ui/backup/frmImpExpEEP.h"
#include "ui/main/Main_F.h"
#include "ui/save/EDSAndEEPSet.h"
#include "ui/views/MemoryMap.h"
#include "ui/views/ShowAppObj.h"
#include "ui/views/ShowModule.h"

namespace kv {
namespace {

template <typename W>
void Dispose(QPointer<W>& window) {
    if (!window) return;
    window->hide();
    window->deleteLater();
    window = nullptr;
}

void Present(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace

AppWindows::AppWindows(Session& session, QObject* parent)
    : QObject(parent), session_(session), main_(std::make_unique<Main_F>(session)) {
    connect(main_.get(), &Main_F::nextRequested, this, &AppWindows::OpenEditor);
    connect(main_.get(), &Main_F::eepromCopyRequested, this, &AppWindows::OpenEepromCopy);
    connect(main_.get(), &Main_F::closeAccepted, this, &AppWindows::CloseEverything);
}

AppWindows::~AppWindows() {
    delete save_.data();
    delete editor_.data();
    delete deviceView_.data();
    delete objectView_.data();
    delete memoryMap_.data();
    delete eepromCopy_.data();
}

void AppWindows::ShowMain() { Present(main_.get()); }

void AppWindows::OpenConfiguration(const QString& path) { main_->OpenConfigurationPath(path); }

IOAppObj* AppWindows::Editor() const { return editor_; }
EDSAndEEPSet* AppWindows::SaveWindow() const { return save_; }
ShowModule* AppWindows::DeviceView() const { return deviceView_; }
ShowAppObj* AppWindows::ObjectView() const { return objectView_; }
frmImpExpEEP* AppWindows::EepromCopy() const { return eepromCopy_; }
MemoryMap* AppWindows::MemoryMapView() const { return memoryMap_; }

void AppWindows::OpenEditor() {
    main_->hide();
    editor_ = new IOAppObj(session_);
    connect(editor_, &IOAppObj::backPressed, this, &AppWindows::CloseEditor);
    connect(editor_, &IOAppObj::nextPressed, this, &AppWindows::OpenSaveWindow);
    connect(editor_, &IOAppObj::objectViewRequested, this, &AppWindows::ShowObjectView);
    connect(editor_, &IOAppObj::deviceViewRequested, this, &AppWindows::ShowDeviceView);
    connect(editor_, &IOAppObj::memoryMapRequested, this, &AppWindows::ShowMemoryMap);
    Present(editor_);
}

// "Back" throws the working copy away, and the memory map shows only that copy.
void AppWindows::CloseEditor() {
    Dispose(memoryMap_);
    Dispose(editor_);
    ShowMain();
}

void AppWindows::OpenSaveWindow() {
    editor_->hide();
    save_ = new EDSAndEEPSet(session_);
    connect(save_, &EDSAndEEPSet::closedWithoutSave, this, &AppWindows::ReturnToEditor);
    connect(save_, &EDSAndEEPSet::saveCompleted, this, &AppWindows::FinishSave);
    connect(save_, &EDSAndEEPSet::objectViewRequested, this, &AppWindows::ShowObjectView);
    connect(save_, &EDSAndEEPSet::memoryMapRequested, this, &AppWindows::ShowMemoryMap);
    Present(save_);
}

void AppWindows::ReturnToEditor() {
    Dispose(save_);
    if (editor_) Present(editor_);
}

void AppWindows::FinishSave() {
    Dispose(save_);
    Dispose(editor_);
    CloseViews();
    ShowMain();
}

// Each view is made once, from the working copy as it is then, and only raised later.
void AppWindows::ShowDeviceView() {
    if (!deviceView_) deviceView_ = new ShowModule(session_.Config);
    Present(deviceView_);
}

void AppWindows::ShowObjectView() {
    if (!objectView_) {
        objectView_ = new ShowAppObj(session_.Config);
        connect(objectView_, &ShowAppObj::probed, this,
                [this](const ProbeRecord& record) { KeepProbe(session_.Probes, record); });
    }
    Present(objectView_);
}

// Unlike the two views, the memory map follows the working copy as it changes.
void AppWindows::ShowMemoryMap() {
    if (!memoryMap_) memoryMap_ = new MemoryMap(session_.Config);
    Present(memoryMap_);
}

void AppWindows::CloseViews() {
    Dispose(deviceView_);
    Dispose(objectView_);
    Dispose(memoryMap_);
}

void AppWindows::OpenEepromCopy() {
    main_->hide();
    eepromCopy_ = new frmImpExpEEP(session_);
    connect(eepromCopy_, &frmImpExpEEP::closed, this, &AppWindows::CloseEepromCopy);
    Present(eepromCopy_);
}

void AppWindows::CloseEepromCopy() {
    Dispose(eepromCopy_);
    ShowMain();
}

// The main window is closing: nothing it started may stay on screen.
void AppWindows::CloseEverything() {
    CloseViews();
    Dispose(save_);
    Dispose(editor_);
    Dispose(eepromCopy_);
}

}  // namespace kv
