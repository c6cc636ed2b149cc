#pragma once
// Creates, shows, hides and deletes the program's windows. Windows never open each other:
// they signal what the user asked for and this class does it.

#include <QObject>
#include <QPointer>
#include <memory>

#include "ui/common/Session.h"

namespace kv {

class Main_F;
class IOAppObj;
class EDSAndEEPSet;
class ShowModule;
class ShowAppObj;
class frmImpExpEEP;
class MemoryMap;

class AppWindows : public QObject {
    Q_OBJECT

public:
    explicit AppWindows(Session& session, QObject* parent = nullptr);
    ~AppWindows() override;

    Main_F& Main() { return *main_; }
    void ShowMain();
    // Opens a configuration file in the main window, as "Open Configuration..." does.
    void OpenConfiguration(const QString& path);

    // The windows open right now (null when not), for tests.
    IOAppObj* Editor() const;
    EDSAndEEPSet* SaveWindow() const;
    ShowModule* DeviceView() const;
    ShowAppObj* ObjectView() const;
    frmImpExpEEP* EepromCopy() const;
    MemoryMap* MemoryMapView() const;

private:
    void OpenEditor();
    void CloseEditor();
    void OpenSaveWindow();
    void ReturnToEditor();
    void FinishSave();
    void ShowDeviceView();
    void ShowObjectView();
    void ShowMemoryMap();
    void CloseViews();
    void OpenEepromCopy();
    void CloseEepromCopy();
    void CloseEverything();

    Session& session_;
    std::unique_ptr<Main_F> main_;
    QPointer<IOAppObj> editor_;
    QPointer<EDSAndEEPSet> save_;
    QPointer<ShowModule> deviceView_;
    QPointer<ShowAppObj> objectView_;
    QPointer<MemoryMap> memoryMap_;
    QPointer<frmImpExpEEP> eepromCopy_;
};

}  // namespace kv
