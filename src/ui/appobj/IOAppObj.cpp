#include "ui/appobj/IOAppObj.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "config/WorkingCopy.h"
#include "ui/appobj/ClassTab.h"
#include "ui/common/CentreOnScreen.h"
#include "ui/common/ProbePanel.h"
#include "ui/common/Session.h"

namespace kv {

namespace {

const char* const DiscardQuestion = "Discard the changes to the Modbus commands?";

const char* const TabCaptions[ClassIndexCount] = {"COM1",     "COM2",      "Server 01",
                                                  "Server02", "Server 03", "Server 04"};

QPushButton* Button(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

}  // namespace

IOAppObj::IOAppObj(Session& session, QWidget* parent)
    : QWidget(parent), session_(session), SSTab1(new QTabWidget(this)) {
    setObjectName("IOAppObj");
    setWindowTitle(tr("Application Object Setting"));
    SSTab1->setObjectName("SSTab1");

    MakeWorkingCopy(session.Config);
    for (int classIndex = 0; classIndex < ClassIndexCount; ++classIndex) {
        tabs_[classIndex] = new ClassTab(session.Config, session.Dialogs, classIndex, SSTab1);
        SSTab1->addTab(tabs_[classIndex], QLatin1String(TabCaptions[classIndex]));
        tabs_[classIndex]->Load();
    }
    SSTab1->setCurrentIndex(0);
    for (ProbePanel* probe : findChildren<ProbePanel*>())
        connect(probe, &ProbePanel::probed, this,
                [&session](const ProbeRecord& record) { KeepProbe(session.Probes, record); });

    auto* objectView = Button(tr("Object View"), "ShowAppInf", this);
    auto* deviceView = Button(tr("Device View "), "ShowMBInf", this);
    auto* memoryMap = Button(tr("Memory Map"), "ShowMemMap", this);
    auto* back = Button(tr("Back"), "BackButton", this);
    auto* next = Button(tr("Next"), "NextButton", this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(objectView);
    buttons->addWidget(deviceView);
    buttons->addWidget(memoryMap);
    buttons->addStretch();
    buttons->addWidget(back);
    buttons->addWidget(next);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1, 1);
    layout->addLayout(buttons);

    connect(objectView, &QPushButton::clicked, this, &IOAppObj::objectViewRequested);
    connect(deviceView, &QPushButton::clicked, this, &IOAppObj::deviceViewRequested);
    connect(memoryMap, &QPushButton::clicked, this, &IOAppObj::memoryMapRequested);
    connect(back, &QPushButton::clicked, this, &IOAppObj::Back);
    connect(next, &QPushButton::clicked, this, &IOAppObj::nextPressed);
    adjustSize();
    CentreOnScreen(*this);
}

// "Update Success!!!" a moment before must not end in edits lost without a word.
bool IOAppObj::MayDiscardWorkingCopy() {
    return !WorkingCopyChanged(session_.Config) ||
           session_.Dialogs.AskYesNo(QString::fromLatin1(DiscardQuestion), windowTitle());
}

void IOAppObj::Back() {
    if (!MayDiscardWorkingCopy()) return;
    DiscardWorkingCopy(session_.Config);
    Q_EMIT backPressed();
}

void IOAppObj::closeEvent(QCloseEvent* event) {
    if (!MayDiscardWorkingCopy()) return event->ignore();
    DiscardWorkingCopy(session_.Config);
    QWidget::closeEvent(event);
    Q_EMIT backPressed();
}

}  // namespace kv
