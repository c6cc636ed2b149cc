#include "ui/save/EDSAndEEPSet.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "config/ConfigWarnings.h"
#include "console/Messages.h"
#include "eds/EdsFile.h"
#include "save/ApplyConfiguration.h"
#include "save/BackupBeforeWrite.h"
#include "save/ConfigChanges.h"
#include "save/FactoryReset.h"
#include "save/SaveConfiguration.h"
#include "session/PortOperation.h"
#include "ui/common/CentreOnScreen.h"
#include "ui/common/Session.h"
#include "ui/common/UserSettings.h"

namespace kv {

namespace {

constexpr int FactoryProgressMaximum = 10;
const char* const PathHeadings[] = {"CLASS", "INSTANCE", "ATTRIBUTE"};
const char* const PathPartNames[] = {"Class", "Inst", "Attr"};
const char* const PathLabels[] = {"Class:", "Instance:", "Attribute:"};

void SelectNumber(QComboBox* list, uint8_t number) {
    for (int i = 0; i < list->count(); ++i)
        if (ItemNumber(list->itemText(i)) == number) list->setCurrentIndex(i);
}

}  // namespace

EDSAndEEPSet::EDSAndEEPSet(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), edsFolders_(DefaultEdsFolders()) {
    setObjectName(QStringLiteral("EDSAndEEPSet"));
    setWindowTitle(QStringLiteral("Save to EEPROM"));
    working_ = session_.Config.ConnectionPaths;

    auto* frames = new QGridLayout;
    frames->addWidget(MakePollFrame(), 0, 0, 1, 2);
    frames->addWidget(MakeEepromFrame(), 1, 0);
    frames->addWidget(MakeEdsFrame(), 1, 1);
    frames->setColumnStretch(1, 1);
    MakeStatusBar();

    auto* content = new QVBoxLayout;
    content->setContentsMargins(16, 16, 16, 12);
    content->setSpacing(14);
    content->addLayout(frames);
    content->addWidget(MakeWarningsNote());
    content->addLayout(MakeButtons());
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(0, 0, 0, 0);
    window->setSpacing(0);
    window->addLayout(content);
    window->addWidget(StatusBar1);

    ShowReadPaths();
    FillClassList(produced_);
    FillClassList(consumed_);
    Preselect(produced_, working_.PollProduce);
    Preselect(consumed_, working_.PollConsume);
    FinishDeviceSet->setFocus();
    adjustSize();
    CentreOnScreen(*this);
}

// What the checks accept but cannot work as meant; the save still writes it.
QLabel* EDSAndEEPSet::MakeWarningsNote() {
    const QStringList warnings = ConfigWarnings(AsWritten(session_.Config, working_));
    auto* note = new QLabel(QStringLiteral("Warnings:\n") + warnings.join(u'\n'));
    note->setObjectName(QStringLiteral("WarningsNote"));
    note->setAccessibleName(QStringLiteral("Warnings"));
    note->setWordWrap(true);
    note->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    note->setVisible(!warnings.isEmpty());
    return note;
}

QGroupBox* EDSAndEEPSet::MakePathGroup(PathGroup& group, const QString& title,
                                       const QString& objectPrefix) {
    auto* box = new QGroupBox(title);
    // Nested in the poll frame, the group would otherwise be announced by that frame's title.
    box->setAccessibleName(title);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(10);
    std::array<QComboBox**, 3> lists = {&group.Class, &group.Instance, &group.Attribute};
    for (int part = 0; part < 3; ++part) {
        auto* heading = new QLabel(QString::fromLatin1(PathHeadings[part]));
        auto* list = new QComboBox;
        list->setObjectName(objectPrefix + PathPartNames[part]);
        list->setAccessibleName(title + " " + QString::fromLatin1(PathHeadings[part]).toLower());
        list->setMinimumContentsLength(8);
        heading->setBuddy(list);
        grid->addWidget(heading, 0, part);
        grid->addWidget(list, 1, part);
        *lists[part] = list;
    }
    group.Moved = new QLabel;
    group.Moved->setObjectName(objectPrefix + QStringLiteral("Moved"));
    group.Moved->setAccessibleName(title + QStringLiteral(" note"));
    group.Moved->setWordWrap(true);
    group.Moved->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    group.Moved->hide();
    grid->addWidget(group.Moved, 2, 0, 1, 3);
    connect(group.Class, &QComboBox::activated, this, [this, &group] { RefillInstances(group); });
    connect(group.Instance, &QComboBox::activated, this,
            [this, &group] { RefillAttributes(group); });
    return box;
}

QGroupBox* EDSAndEEPSet::MakePollFrame() {
    auto* frame = new QGroupBox(QStringLiteral("Polling IO Connection Path Setting"));
    auto* layout = new QHBoxLayout(frame);
    layout->setSpacing(12);
    layout->addWidget(MakePathGroup(produced_, QStringLiteral("Produced Connection Path"),
                                    QStringLiteral("Combo_PollProd")));
    layout->addWidget(MakePathGroup(consumed_, QStringLiteral("Consumed Connection Path"),
                                    QStringLiteral("Combo_PollCons")));
    Btn_SetPath = new QPushButton(QStringLiteral("Set Path"));
    Btn_SetPath->setObjectName(QStringLiteral("Btn_SetPath"));
    connect(Btn_SetPath, &QPushButton::clicked, this, &EDSAndEEPSet::SetPath);
    layout->addWidget(Btn_SetPath, 0, Qt::AlignBottom);
    return frame;
}

QGroupBox* EDSAndEEPSet::MakeEepromFrame() {
    auto* frame = new QGroupBox(QStringLiteral("EEPROM Setting"));
    auto* grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(8);
    const auto addPath = [&](int row, const QString& caption, std::array<QLabel*, 3>& values,
                             const QString& objectName) {
        grid->addWidget(new QLabel(caption), row, 0, 1, 6);
        for (int part = 0; part < 3; ++part) {
            auto* value = new QLabel(QStringLiteral("0x00"));
            value->setObjectName(QStringLiteral("%1_%2").arg(objectName).arg(part));
            // Announced by its value (the label's text); what it is the value of follows.
            value->setAccessibleDescription(caption + " " + PathLabels[part]);
            value->setTextInteractionFlags(Qt::TextSelectableByKeyboard |
                                           Qt::TextSelectableByMouse);
            QFont bold = value->font();
            bold.setBold(true);
            value->setFont(bold);
            value->setMinimumWidth(
                value->fontMetrics().horizontalAdvance(QStringLiteral("0x00  ")));
            grid->addWidget(new QLabel(QString::fromLatin1(PathLabels[part])), row + 1, 2 * part);
            grid->addWidget(value, row + 1, 2 * part + 1);
            values[part] = value;
        }
    };
    addPath(0, QStringLiteral("Produced Connection Path:"), Lbl_EEPProdPath,
            QStringLiteral("Lbl_EEPProdPath"));
    grid->setRowMinimumHeight(2, 10);
    addPath(3, QStringLiteral("Consumed Connection Path:"), Lbl_EEPConsPath,
            QStringLiteral("Lbl_EEPConsPath"));
    return frame;
}

QGroupBox* EDSAndEEPSet::MakeEdsFrame() {
    auto* frame = new QGroupBox(QStringLiteral("EDS File Information"));
    auto* grid = new QGridLayout(frame);
    const char* captions[] = {"Description:", "Created By:"};
    for (int i = 0; i < 2; ++i) {
        auto* text = new QLineEdit;
        text->setObjectName(QStringLiteral("EDSInfo_%1").arg(i));
        text->setMinimumWidth(240);
        auto* label = new QLabel(QString::fromLatin1(captions[i]));
        label->setBuddy(text);
        grid->addWidget(label, i, 0);
        grid->addWidget(text, i, 1);
        EDSInfo[i] = text;
    }
    grid->setRowStretch(2, 1);
    return frame;
}

QLayout* EDSAndEEPSet::MakeButtons() {
    const auto makeButton = [this](const char* name, const char* caption) {
        auto* button = new QPushButton(QString::fromLatin1(caption));
        button->setObjectName(QString::fromLatin1(name));
        button->setMinimumWidth(110);
        return button;
    };
    AppObj = makeButton("AppObj", "Object View");
    auto* memoryMap = makeButton("ShowMemMap", "Memory Map");
    Btn_FactorySet = makeButton("Btn_FactorySet", "Factory Setting");
    BackButton = makeButton("BackButton", "Back");
    FinishDeviceSet = makeButton("FinishDeviceSet", "Save");
    FinishDeviceSet->setDefault(true);
    // A save with its verify, or a factory reset, over a slow port takes minutes.
    CancelOperation = makeButton("CancelOperation", "Cancel");
    CancelOperation->setEnabled(false);
    VerifyAfterWriting = new QCheckBox(QStringLiteral("&Verify after writing"));
    VerifyAfterWriting->setObjectName(QStringLiteral("VerifyAfterWriting"));
    VerifyAfterWriting->setChecked(UserSettings().VerifyAfterWriting());
    connect(VerifyAfterWriting, &QCheckBox::toggled, this,
            [](bool verify) { UserSettings().SetVerifyAfterWriting(verify); });
    connect(AppObj, &QPushButton::clicked, this, &EDSAndEEPSet::objectViewRequested);
    connect(memoryMap, &QPushButton::clicked, this, &EDSAndEEPSet::memoryMapRequested);
    connect(Btn_FactorySet, &QPushButton::clicked, this, &EDSAndEEPSet::RestoreFactorySettings);
    connect(BackButton, &QPushButton::clicked, this, [this] {
        SaveCompleted = false;
        close();
    });
    connect(FinishDeviceSet, &QPushButton::clicked, this, &EDSAndEEPSet::Save);
    connect(CancelOperation, &QPushButton::clicked, this, [this] { session_.Gateway.Cancel(); });

    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    row->addWidget(AppObj);
    row->addWidget(memoryMap);
    row->addStretch(1);
    row->addWidget(Btn_FactorySet);
    row->addSpacing(16);
    row->addWidget(VerifyAfterWriting);
    row->addWidget(BackButton);
    row->addWidget(FinishDeviceSet);
    row->addWidget(CancelOperation);
    return row;
}

void EDSAndEEPSet::MakeStatusBar() {
    StatusBar1 = new QStatusBar;
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setContentsMargins(12, 0, 12, 4);
    ProgressBar1 = new QProgressBar;
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setAccessibleName(QStringLiteral("Progress"));
    ProgressBar1->setRange(0, SaveProgressMaximum);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMaximumHeight(14);
    StatusBar1->addWidget(ProgressBar1, 1);
    BackupNote = new QLabel;
    BackupNote->setObjectName(QStringLiteral("BackupNote"));
    BackupNote->setAccessibleName(QStringLiteral("Backup"));
    BackupNote->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    StatusBar1->addPermanentWidget(BackupNote);
}

// The gateway's configuration as last read is kept before a byte is written; without a
// backup nothing is written.
bool EDSAndEEPSet::KeepBackupBeforeWrite(const GatewayConfig& read) {
    backupPath_.clear();
    if (session_.BackupFolder.isEmpty()) return true;
    const KeptBackup kept =
        KeepBackup(session_.BackupFolder, read, QStringLiteral("COM%1").arg(session_.PortNumber));
    if (!kept.ok()) {
        session_.Dialogs.Message(kept.Error + QStringLiteral("\nNothing was written."),
                                 QStringLiteral("Error"), MessageKind::Error);
        return false;
    }
    backupPath_ = kept.Path;
    BackupNote->setText(BackupKeptText(kept.Path));
    return true;
}

void EDSAndEEPSet::ShowReadPaths() {
    const ConnectionPaths& read = session_.Config.ConnectionPaths;
    for (int part = 0; part < 3; ++part) {
        Lbl_EEPProdPath[part]->setText(PathPartText(part, read.PollProduce[part]));
        Lbl_EEPConsPath[part]->setText(PathPartText(part, read.PollConsume[part]));
    }
}

void EDSAndEEPSet::FillClassList(PathGroup& group) {
    group.Class->clear();
    for (uint8_t classId : OfferedClasses(session_.Config, group.Direction))
        group.Class->addItem(ClassItemText(classId));
    group.Class->setCurrentIndex(0);
    RefillInstances(group);
}

void EDSAndEEPSet::RefillInstances(PathGroup& group) {
    const uint8_t classId = ItemNumber(group.Class->currentText());
    const auto instances = OfferedInstances(session_.Config, group.Direction, classId);
    if (!instances) return;
    group.Instance->clear();
    for (uint8_t instance : *instances) group.Instance->addItem(MemberItemText(instance));
    group.Instance->setCurrentIndex(group.Instance->count() > 0 ? 0 : -1);
    RefillAttributes(group);
}

void EDSAndEEPSet::RefillAttributes(PathGroup& group) {
    const uint8_t classId = ItemNumber(group.Class->currentText());
    const uint8_t instance = ItemNumber(group.Instance->currentText());
    group.Attribute->clear();
    for (uint8_t attribute : OfferedAttributes(session_.Config, group.Direction, classId, instance))
        group.Attribute->addItem(MemberItemText(attribute));
    group.Attribute->setCurrentIndex(group.Attribute->count() > 0 ? 0 : -1);
}

// Shows the working path in the lists when they offer it; otherwise the path falls back
// to the parameter object's first Ethernet address, the first item of each list.
void EDSAndEEPSet::Preselect(PathGroup& group, PollPath& path) {
    const PollPath earlier = path;
    path = PreselectedPath(session_.Config, group.Direction, path);
    // The scanner's I/O mapping follows the path: a move must not go unnoticed.
    const bool moved = path != earlier && earlier != PollPath{};
    group.Moved->setText(moved ? QStringLiteral("%1 is no longer offered; %2 is chosen.")
                                     .arg(PollPathText(earlier), PollPathText(path))
                               : QString());
    group.Moved->setVisible(moved);
    SelectNumber(group.Class, path[0]);
    RefillInstances(group);
    SelectNumber(group.Instance, path[1]);
    RefillAttributes(group);
    SelectNumber(group.Attribute, path[2]);
}

void EDSAndEEPSet::SetPath() {
    const auto store = [](const PathGroup& group, PollPath& path) {
        path = {ItemNumber(group.Class->currentText()), ItemNumber(group.Instance->currentText()),
                ItemNumber(group.Attribute->currentText())};
    };
    store(produced_, working_.PollProduce);
    store(consumed_, working_.PollConsume);
    session_.Dialogs.Message(QStringLiteral("Setting Path OK.!!!"), QStringLiteral("Update"));
}

void EDSAndEEPSet::Save() {
    if (session_.Gateway.IsBusy()) return;
    // A configuration opened from a file is checked against the gateway first.
    if (MustReadFirst()) return ReadBeforeFileSave();
    if (KeepBackupBeforeWrite(*session_.LastRead)) WriteToGateway();
}

bool EDSAndEEPSet::MustReadFirst() const {
    return !session_.OpenedFile.isEmpty() || !session_.LastRead;
}

namespace {

struct SavedAndReadBack {
    SaveOutcome Saved;
    std::optional<ReadBack> Verified;  // none when not asked for or the save failed
};

}  // namespace

// The save, then (when asked) the gateway read again on the same port, as apply does.
void EDSAndEEPSet::WriteToGateway() {
    const SaveRequest request{
        working_, {EDSInfo[0]->text().trimmed(), EDSInfo[1]->text().trimmed()}, edsFolders_};
    const bool verify = VerifyAfterWriting->isChecked();
    RunOnGateway<SavedAndReadBack>(
        SaveProgressMaximum + (verify ? ReadOutProgressMaximum : 0),
        [request, verify](ConsoleLink& link, GatewayConfig& config, const ProgressFn& progress) {
            SavedAndReadBack result{SaveConfiguration(link, config, request, progress), {}};
            if (verify && result.Saved.Status == SaveStatus::Ok)
                result.Verified = ReadBackAfterSave(
                    link, config, request.PollPaths,
                    [progress](int value) { progress(SaveProgressMaximum + value); });
            return result;
        },
        [this](const SavedAndReadBack& result) {
            if (result.Saved.Status != SaveStatus::Ok)
                return ProcessError(ReportSaveFailure(result.Saved, session_.Gateway.LastEnd()));
            ReportWritten(result.Saved, result.Verified);
            Finish();
        });
}

void EDSAndEEPSet::ReportWritten(const SaveOutcome& saved,
                                 const std::optional<ReadBack>& verified) {
    QString state = SaveDoneText(saved);
    if (verified && verified->Read && verified->Differences.isEmpty())
        state += QStringLiteral(" Written and verified.");
    // A Cancel during the read-back leaves a written gateway that was not verified.
    const bool cancelled = session_.Gateway.LastEnd().Kind == LinkEnd::Stopped;
    if (cancelled) state += u' ' + ApplyStateText(ApplyState::WrittenNotVerified);
    StatusBar1->showMessage(state);
    session_.SetCommunicationState(state);
    if (cancelled)
        return session_.Dialogs.Message(OutcomeText({OutcomeKind::Stopped,
                                                     ApplyState::WrittenNotVerified,
                                                     {},
                                                     QString::fromLatin1(CancelledText)},
                                                    {}),
                                        {});
    if (!verified || (verified->Read && verified->Differences.isEmpty())) return;
    const QString text =
        verified->Read ? QStringLiteral(
                             "Written, but the gateway does not hold what was "
                             "written:\n") +
                             verified->Differences.join(u'\n')
                       : QStringLiteral("Written, but not verified: the read-back failed.\n") +
                             verified->ReadFailure;
    session_.Dialogs.Message(text, QStringLiteral("Error"), MessageKind::Error,
                             session_.Gateway.LastDetails(session_.PortNumber));
}

void EDSAndEEPSet::RestoreFactorySettings() {
    // Said before the question, so that a Yes is never met with nothing. This window's own
    // operations lock the button; what runs is the main window's read-out.
    if (session_.Gateway.IsBusy())
        return session_.Dialogs.Message(ConnectingNowText, "Error", MessageKind::Error);
    const bool yes = session_.Dialogs.AskYesNo(QString::fromLatin1(FactoryResetQuestion),
                                               QString::fromLatin1(FactoryResetTitle));
    if (!yes) return;
    const auto resetAfterBackup = [this](const GatewayConfig& read) {
        if (KeepBackupBeforeWrite(read)) ResetToFactory();
    };
    if (MustReadFirst()) return ReadGatewayThen(resetAfterBackup);
    resetAfterBackup(*session_.LastRead);
}

void EDSAndEEPSet::ResetToFactory() {
    RunOnGateway<WriteResult>(
        FactoryProgressMaximum,
        [](ConsoleLink& link, GatewayConfig& config, const ProgressFn& progress) {
            return FactoryReset(link, config, progress);
        },
        [this](WriteResult result) {
            if (result != WriteResult::Ok)
                return ProcessError(ReportWriteFailure(session_.Gateway.LastEnd()));
            Finish();
        });
}

// The gateway holds the configuration now (saved, or reset to the factory's).
void EDSAndEEPSet::Finish() {
    MarkSaved(session_);
    SaveCompleted = true;
    close();
}

void EDSAndEEPSet::ProcessError(const FailureReport& report) {
    if (session_.Gateway.LastEnd().Kind == LinkEnd::Stopped) return ReportCancelled();
    session_.Dialogs.Message(
        report.Text, report.Title, report.Kind,
        DetailsThen(report, session_.Gateway.LastDetails(session_.PortNumber)));
    if (report.CommunicationState) session_.SetCommunicationState(*report.CommunicationState);
    if (!backupPath_.isEmpty())
        BackupNote->setText(
            RestoreFromBackupText(backupPath_, QStringLiteral("COM%1").arg(session_.PortNumber)));
    ShowBusy(false);
}

void EDSAndEEPSet::ReportCancelled() {
    const QString port = QStringLiteral("COM%1").arg(session_.PortNumber);
    const OperationOutcome outcome{
        OutcomeKind::Stopped,
        session_.Gateway.LastChangeSent() ? ApplyState::PartlyWritten : ApplyState::NotWritten,
        backupPath_, QString::fromLatin1(CancelledText)};
    session_.Dialogs.Message(OutcomeText(outcome, port), {});
    StatusBar1->showMessage(ApplyStateText(outcome.State));
    session_.SetCommunicationState(ApplyStateText(outcome.State));
    if (outcome.State == ApplyState::PartlyWritten && !backupPath_.isEmpty())
        BackupNote->setText(RestoreFromBackupText(backupPath_, port));
    ShowBusy(false);
}

void EDSAndEEPSet::ShowBusy(bool busy) {
    for (QPushButton* button : {FinishDeviceSet, BackButton, Btn_FactorySet})
        button->setEnabled(!busy);
    CancelOperation->setEnabled(busy);
    if (busy) CancelOperation->setFocus();
}

void EDSAndEEPSet::StartProgress(int maximum) {
    ProgressBar1->setRange(0, maximum);
    ProgressBar1->setValue(0);
}

// The window cannot go while the gateway is being written: the sequence runs on, and the
// windows it reports to must stay.
void EDSAndEEPSet::closeEvent(QCloseEvent* event) {
    if (session_.Gateway.IsBusy()) {
        event->ignore();
        return;
    }
    event->accept();
    if (SaveCompleted)
        Q_EMIT saveCompleted();
    else
        Q_EMIT closedWithoutSave();
}

}  // namespace kv
