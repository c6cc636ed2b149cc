#include "ui/appobj/ClassTab.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/MemoryOverlaps.h"
#include "config/WorkingCopy.h"
#include "modbus/ProbeText.h"
#include "ui/appobj/CommandFieldsFrame.h"
#include "ui/appobj/ControlNames.h"
#include "ui/appobj/SerialAttributesFrame.h"
#include "ui/appobj/TcpAttributesFrame.h"
#include "ui/common/Dialogs.h"
#include "ui/common/ProbePanel.h"

namespace kv {

namespace {

ClassAttributesFrame* MakeAttributesFrame(GatewayConfig& config, Dialogs& dialogs, int classIndex,
                                          QWidget* parent) {
    if (IsSerialClassIndex(classIndex))
        return new SerialAttributesFrame(config, classIndex, parent);
    return new TcpAttributesFrame(config, dialogs, classIndex, parent);
}

QPushButton* Button(const QString& text, const QString& name, int classIndex, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    NameControl(button, name, classIndex);
    return button;
}

}  // namespace

ClassTab::ClassTab(GatewayConfig& config, Dialogs& dialogs, int classIndex, QWidget* parent)
    : QWidget(parent),
      config_(config),
      dialogs_(dialogs),
      classIndex_(classIndex),
      attributes_(MakeAttributesFrame(config, dialogs, classIndex, this)) {
    auto* instanceFrame = new QGroupBox(tr("Instance Attributes Setting"), this);
    Instance = new QComboBox(instanceFrame);
    NameControl(Instance, "Instance", classIndex);
    Instance->setMinimumContentsLength(16);
    AddApp = Button(tr("Add"), "AddApp", classIndex, instanceFrame);
    EraseMB = Button(tr("Erase"), "EraseMB", classIndex, instanceFrame);
    UpdateApp = Button(tr("Update"), "UpdateApp", classIndex, instanceFrame);
    DeleteApp = Button(tr("Delete"), "DeleteApp", classIndex, instanceFrame);
    ExportCsvButton = Button(tr("Export CSV..."), "ExportCsv", classIndex, instanceFrame);
    ImportCsvButton = Button(tr("Import CSV..."), "ImportCsv", classIndex, instanceFrame);
    fields_ = new CommandFieldsFrame(classIndex, instanceFrame);
    overlapNote_ = new QLabel(instanceFrame);
    NameControl(overlapNote_, "OverlapNote", classIndex);
    overlapNote_->setWordWrap(true);
    overlapNote_->setStyleSheet(QStringLiteral("color: #b45309;"));
    probeNote_ = new QLabel(instanceFrame);
    NameControl(probeNote_, "ProbeNote", classIndex);
    probeNote_->setWordWrap(true);
    probeNote_->setAccessibleName(tr("Test result of this instance"));
    auto* probe = new ProbePanel(config, classIndex, &dialogs, {}, instanceFrame);

    auto* instanceLabel = new QLabel(tr("Instance ID"), instanceFrame);
    instanceLabel->setBuddy(Instance);
    auto* instanceRow = new QHBoxLayout;
    instanceRow->addWidget(instanceLabel);
    instanceRow->addWidget(Instance, 1);
    // Add and Erase share one place: only one of them is ever visible.
    instanceRow->addSpacing(12);
    instanceRow->addWidget(AddApp);
    instanceRow->addWidget(EraseMB);
    instanceRow->addWidget(UpdateApp);
    instanceRow->addWidget(DeleteApp);

    auto* instanceLayout = new QVBoxLayout(instanceFrame);
    instanceLayout->addLayout(instanceRow);
    instanceLayout->addWidget(fields_);
    instanceLayout->addWidget(probeNote_);
    instanceLayout->addWidget(overlapNote_);
    auto* csvRow = new QHBoxLayout;
    csvRow->addStretch();
    csvRow->addWidget(ExportCsvButton);
    csvRow->addWidget(ImportCsvButton);
    instanceLayout->addLayout(csvRow);
    instanceLayout->addWidget(probe);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(attributes_);
    layout->addWidget(instanceFrame);
    layout->addStretch();

    connect(attributes_, &ClassAttributesFrame::connectionListChanged, this,
            &ClassTab::ConnectionReaction);
    connect(attributes_, &ClassAttributesFrame::storedConnectionOn, this,
            &ClassTab::ConnectionReaction);
    // Every choice shows the chosen instance, the one already shown included: that is how
    // the user gets it back after Erase or throws away what was typed over it.
    connect(Instance, &QComboBox::activated, this, &ClassTab::ShowInstance);
    connect(AddApp, &QPushButton::clicked, this, &ClassTab::Add);
    connect(UpdateApp, &QPushButton::clicked, this, &ClassTab::Update);
    connect(DeleteApp, &QPushButton::clicked, this, &ClassTab::Delete);
    connect(EraseMB, &QPushButton::clicked, this, &ClassTab::Erase);
    connect(ExportCsvButton, &QPushButton::clicked, this, &ClassTab::ExportCsv);
    connect(ImportCsvButton, &QPushButton::clicked, this, &ClassTab::ImportCsv);
    connect(probe, &ProbePanel::probed, this, [this](const ProbeRecord& record) {
        probed_ = record.Results;
        ShowProbeNote(Instance->currentIndex());
    });
}

void ClassTab::Load() {
    attributes_->ShowStored();
    ConnectionReaction();
    Instance->clear();
    for (int slot = 0; slot < CmdCount(); ++slot) Instance->addItem(InstanceEntryText(slot));
    if (CmdCount() > 0) {
        SelectInstance(0);
        return;
    }
    SetUpdateDeleteEnabled(false);
    Erase();
}

void ClassTab::EnableInstAttrSettingAll() { SetInstancePartEnabled(true); }

void ClassTab::DisableInstAttrSettingAll() { SetInstancePartEnabled(false); }

void ClassTab::SetInstancePartEnabled(bool enabled) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{Instance, UpdateApp, DeleteApp, AddApp, EraseMB})
        control->setEnabled(enabled);
    fields_->SetFieldsEnabled(enabled);
}

// The list switches the attribute fields at once; the instance part follows only a
// connection that "Set" has stored, so commands are never edited for an unused class.
void ClassTab::ConnectionReaction() {
    if (!attributes_->ListShowsOn()) {
        attributes_->SetAttributeFieldsEnabled(false);
        DisableInstAttrSettingAll();
        return;
    }
    attributes_->SetAttributeFieldsEnabled(true);
    if (!StoredConnectionOn(config_, classIndex_)) return;
    EnableInstAttrSettingAll();
    if (CmdCount() == 0) SetUpdateDeleteEnabled(false);
}

void ClassTab::Add() {
    const QString error = AddCommand(config_, classIndex_, fields_->Texts());
    if (!error.isEmpty()) {
        dialogs_.Message(error, QStringLiteral("Error"), MessageKind::Error);
        return;
    }
    const int slot = CmdCount() - 1;
    Instance->addItem(InstanceEntryText(slot));
    SelectInstance(slot);
    SetUpdateDeleteEnabled(true);
    ShowOverlapNote(slot);
}

void ClassTab::Update() {
    const QString error =
        UpdateCommand(config_, classIndex_, Instance->currentIndex(), fields_->Texts());
    if (!error.isEmpty()) {
        dialogs_.Message(error, QStringLiteral("Error"), MessageKind::Error);
        dialogs_.Message(QStringLiteral("Update Failure!!!"), QStringLiteral("Update"));
        return;
    }
    dialogs_.Message(QStringLiteral("Update Success!!!"), QStringLiteral("Update"));
    ShowEntryState(false);
    ShowOverlapNote(Instance->currentIndex());
}

void ClassTab::Delete() {
    const int count = CmdCount();
    const int selected = Instance->currentIndex();
    if (selected < 0 || selected >= count) return;
    DeleteCommand(config_, classIndex_, selected);
    // The remaining entries keep their numbers; the last one goes.
    Instance->removeItem(count - 1);
    Instance->setCurrentIndex(-1);
    // With no instance left the fields keep what they show.
    if (count - 2 >= 0) SelectInstance(count - 2);
    if (CmdCount() == 0) SetUpdateDeleteEnabled(false);
    ShowEntryState(false);
}

void ClassTab::Erase() {
    overlapNote_->clear();
    fields_->ShowCommand(CommandFieldTexts{});
    ShowEntryState(true);
}

void ClassTab::SelectInstance(int slot) {
    Instance->setCurrentIndex(slot);
    ShowInstance(slot);
}

void ClassTab::ShowInstance(int slot) {
    overlapNote_->clear();
    ShowProbeNote(slot);
    if (slot < 0 || slot >= CmdCount()) return;
    fields_->ShowCommand(FieldsOfCommand(EditClassCommands(config_, classIndex_).Slots[slot]));
    ShowEntryState(false);
}

void ClassTab::ShowEntryState(bool entry) {
    AddApp->setVisible(entry);
    EraseMB->setVisible(!entry);
}

void ClassTab::SetUpdateDeleteEnabled(bool enabled) {
    UpdateApp->setEnabled(enabled);
    DeleteApp->setEnabled(enabled);
}

// A note, not a refusal: commands may share memory on purpose.
void ClassTab::ShowOverlapNote(int slot) {
    overlapNote_->setText(kv::OverlapNote(config_, classIndex_, slot));
}

void ClassTab::ShowProbeNote(int slot) {
    probeNote_->clear();
    for (const ProbeResult& result : probed_)
        if (result.ClassIndex == classIndex_ && result.Instance == slot + 1)
            probeNote_->setText(
                tr("Test: %1, %2: %3")
                    .arg(ProbeFunctionText(result), result.Reference, ProbeOutcomeText(result)));
}

int ClassTab::CmdCount() { return EditClassCommands(config_, classIndex_).CmdCount; }

}  // namespace kv
