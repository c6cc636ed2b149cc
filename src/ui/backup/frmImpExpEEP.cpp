#include "ui/backup/frmImpExpEEP.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "backup/EepromCopy.h"
#include "console/Messages.h"
#include "console/PortGuard.h"
#include "console/PortOpening.h"
#include "save/BackupBeforeWrite.h"
#include "ui/common/CentreOnScreen.h"
#include "ui/common/ComPortList.h"
#include "ui/common/UserSettings.h"

namespace kv {
namespace {

const QString FileFilter = QStringLiteral("INI Files (*.ini)");
const QString DefaultFileName = QStringLiteral("KV-9052R_EEP.ini");

QPushButton* NamedButton(const QString& objectName, const QString& text) {
    auto* button = new QPushButton(text);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

frmImpExpEEP::frmImpExpEEP(Session& session, QWidget* parent) : QWidget(parent), session_(session) {
    setObjectName(QStringLiteral("frmImpExpEEP"));
    setWindowTitle(QStringLiteral("Import/Export EEPROM"));
    BuildLayout();
    Apply(CopyWindowState::PortClosed);

    connect(Connect, &QPushButton::clicked, this, &frmImpExpEEP::OpenCom);
    connect(cmdDisconnect, &QPushButton::clicked, this, &frmImpExpEEP::CloseCom);
    connect(ComPort, &QComboBox::currentIndexChanged, this, &frmImpExpEEP::ChoosePort);
    connect(cmdImportToIni, &QPushButton::clicked, this, &frmImpExpEEP::ImportToIniFile);
    connect(cmdExportToEEP, &QPushButton::clicked, this, &frmImpExpEEP::ExportToEepromFile);
    connect(Command1, &QPushButton::clicked, this, &QWidget::close);
    connect(CancelTransfer, &QPushButton::clicked, this, [this] { session_.Gateway.Cancel(); });

    const int index = ComPort->findData(UserSettings().Port(objectName(), ChosenPortNumber()));
    if (index >= 0) ComPort->setCurrentIndex(index);
    adjustSize();
    if (!UserSettings().RestoreGeometry(*this)) CentreOnScreen(*this);
}

// The folder of the last backup file, else the program's own as before.
QString frmImpExpEEP::BackupFolder() const {
    const QString folder = UserSettings().Folder(QStringLiteral("Backups"));
    return folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
}

void frmImpExpEEP::BuildLayout() {
    CommunicationRegion = new QGroupBox(QStringLiteral("Communication"));
    CommunicationRegion->setObjectName(QStringLiteral("CommunicationRegion"));
    ComPort = new QComboBox;
    ComPort->setObjectName(QStringLiteral("ComPort"));
    ComPort->setAccessibleName(QStringLiteral("PC COM Port"));
    FillComPortList(ComPort);
    auto* portLabel = new QLabel(QStringLiteral("PC &COM Port"));
    portLabel->setBuddy(ComPort);
    Connect = NamedButton(QStringLiteral("Connect"), QStringLiteral("&Open COM"));
    cmdDisconnect = NamedButton(QStringLiteral("cmdDisconnect"), QStringLiteral("C&lose COM"));

    auto* portRow = new QHBoxLayout(CommunicationRegion);
    portRow->addWidget(portLabel);
    portRow->addWidget(ComPort, 1);
    portRow->addSpacing(8);
    portRow->addWidget(Connect);
    portRow->addWidget(cmdDisconnect);

    cmdImportToIni =
        NamedButton(QStringLiteral("cmdImportToIni"), QStringLiteral("&Import To INI File"));
    cmdExportToEEP =
        NamedButton(QStringLiteral("cmdExportToEEP"), QStringLiteral("&Export To EEPROM"));
    CancelTransfer = NamedButton(QStringLiteral("CancelTransfer"), QStringLiteral("Cancel"));
    auto* transferRow = new QHBoxLayout;
    transferRow->addWidget(cmdImportToIni);
    transferRow->addWidget(cmdExportToEEP);
    transferRow->addWidget(CancelTransfer);

    ConnectProgress = new QProgressBar;
    ConnectProgress->setObjectName(QStringLiteral("ConnectProgress"));
    ConnectProgress->setAccessibleName(QStringLiteral("Progress"));
    ConnectProgress->setRange(0, CopyProgressMaximum);
    ConnectProgress->setValue(0);
    ConnectProgress->setTextVisible(false);

    Command1 = NamedButton(QStringLiteral("Command1"), QStringLiteral("E&xit"));
    auto* exitRow = new QHBoxLayout;
    exitRow->addStretch(1);
    exitRow->addWidget(Command1);

    BackupNote = new QLabel;
    BackupNote->setObjectName(QStringLiteral("BackupNote"));
    BackupNote->setAccessibleName(QStringLiteral("Backup"));
    BackupNote->setWordWrap(true);
    BackupNote->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);
    layout->addWidget(CommunicationRegion);
    layout->addLayout(transferRow);
    layout->addWidget(ConnectProgress);
    layout->addWidget(BackupNote);
    layout->addLayout(exitRow);
    setMinimumWidth(440);
}

void frmImpExpEEP::Apply(CopyWindowState state) {
    state_ = state;
    const CopyWindowLook look = LookOf(state);
    Connect->setEnabled(look.Connect);
    cmdDisconnect->setEnabled(look.Disconnect);
    ComPort->setEnabled(look.ComPort);
    cmdImportToIni->setEnabled(look.Transfers);
    cmdExportToEEP->setEnabled(look.Transfers);
    Command1->setEnabled(look.Exit);
    CancelTransfer->setEnabled(state == CopyWindowState::Transferring);
}

int frmImpExpEEP::ChosenPortNumber() const { return ComPort->currentData().toInt(); }

// The window holds the port from "Open COM" to "Close COM"; the transfers in between use
// it as it is.
void frmImpExpEEP::ClosePort() { session_.Gateway.ReleasePort(); }

void frmImpExpEEP::OpenCom() {
    RefreshComPortToolTips(ComPort);  // adapters come and go while the window is open
    const int number = ChosenPortNumber();
    UserSettings().SetPort(objectName(), number);
    const CopyWindowState before = state_;
    const bool started = session_.Gateway.Run<PortOpenResult>(
        this,
        [number](ConsoleLink& link, const ProgressFn&) {
            if (link.Port().IsOpen()) return PortOpenResult{};
            link.Port().SelectPort(number);
            PortGuard guard(link.Port());
            guard.KeepOpen();
            return guard.Opened();
        },
        {},
        [this, number, before](const PortOpenResult& opened) {
            Apply(before);
            FinishOpenCom(number, opened);
        });
    if (started) Apply(CopyWindowState::Transferring);
}

void frmImpExpEEP::FinishOpenCom(int number, const PortOpenResult& opened) {
    if (opened.ok()) return Apply(CopyWindowState::PortOpen);
    const FailureReport report = ReportPortFailure(opened, number, TransferPortTitles);
    session_.Dialogs.Message(report.Text, report.Title, report.Kind,
                             DetailsThen(report, session_.Gateway.LastTrace()));
    // A port that never opened leaves nothing to reset.
    if (opened.Error != PortOpenError::NotOpened) ProcessError();
}

void frmImpExpEEP::CloseCom() {
    ClosePort();
    Apply(CopyWindowState::PortClosed);
}

// The console mode of the port left is unknown; the next one starts closed.
void frmImpExpEEP::ChoosePort() {
    if (state_ == CopyWindowState::Transferring) return;
    CloseCom();
}

void frmImpExpEEP::ProcessError() {
    ClosePort();
    ConnectProgress->setValue(0);
    Apply(CopyWindowState::PortClosed);
}

void frmImpExpEEP::ImportToIniFile() {
    ConnectProgress->setValue(0);
    const QString path = session_.Dialogs.SaveFileName(FileFilter, BackupFolder(), DefaultFileName);
    // Cancelling leaves the port open and the window as it was.
    if (path.isEmpty()) return;
    UserSettings().SetFolderOf(path, QStringLiteral("Backups"));
    Transfer(CopyDirection::Import, path);
}

void frmImpExpEEP::ExportToEepromFile() {
    ConnectProgress->setValue(0);
    const QString path = session_.Dialogs.OpenFileName(FileFilter, BackupFolder(), DefaultFileName);
    if (path.isEmpty()) {
        ProcessError();
        return;
    }
    UserSettings().SetFolderOf(path, QStringLiteral("Backups"));
    Transfer(CopyDirection::Export, path);
}

// An export keeps the gateway's configuration first, read for the purpose: the window
// holds the port, and the main window's last read-out may be of another gateway.
void frmImpExpEEP::Transfer(CopyDirection direction, const QString& path, bool allowIncomplete) {
    const CopyWindowState before = state_;
    const RestoreOptions restore{allowIncomplete,
                                 session_.BackupFolder,
                                 QStringLiteral("COM%1").arg(ChosenPortNumber()),
                                 {},
                                 {}};
    const bool started = session_.Gateway.Run<RestoreOutcome>(
        this,
        [direction, path, restore](ConsoleLink& link, const ProgressFn& progress) {
            if (direction == CopyDirection::Import)
                return RestoreOutcome{ImportToIni(link, path, progress), {}};
            RestoreOptions options = restore;
            options.Progress = progress;
            return RestoreBackup(link, path, options);
        },
        [this](int value) { ConnectProgress->setValue(value); },
        [this, direction, before, path](const RestoreOutcome& outcome) {
            if (outcome.Copy.Result == CopyResult::IncompleteFile &&
                WriteIncompleteAnyway(outcome.Copy)) {
                Apply(before);
                return Transfer(direction, path, true);
            }
            Finish(direction, before, outcome, path);
        });
    if (started) Apply(CopyWindowState::Transferring);
}

// Files of earlier versions may lack what the gateway then gets as zeros; writing such a
// file stays possible, but only when asked for.
bool frmImpExpEEP::WriteIncompleteAnyway(const CopyOutcome& outcome) {
    const QString lacks = QString(outcome.Detail).replace(u'\n', QStringLiteral("; "));
    return session_.Dialogs.AskYesNo(
        QStringLiteral("The file lacks %1; those bytes will be written as 0. Write anyway?")
            .arg(lacks),
        QStringLiteral("Warning"));
}

// The message comes while the window is still locked, the new state after it.
void frmImpExpEEP::Finish(CopyDirection direction, CopyWindowState before,
                          const RestoreOutcome& outcome, const QString& path) {
    const LinkEndState& end = session_.Gateway.LastEnd();
    const QString port = QStringLiteral("COM%1").arg(ChosenPortNumber());
    const CopyMessage message = CopyOutcomeMessage(direction, outcome.Copy, path, end);
    BackupNote->setText(outcome.BackupPath.isEmpty() ? QString()
                                                     : BackupKeptText(outcome.BackupPath));
    // A Cancel is told as the command line tells a stop: what became of the gateway.
    const bool cancelled = end.Kind == LinkEnd::Stopped;
    const QString text =
        cancelled ? OutcomeText({OutcomeKind::Stopped, outcome.State, outcome.BackupPath,
                                 QString::fromLatin1(CancelledText)},
                                port)
        : direction == CopyDirection::Export ? RestoreOutcomeText(outcome, path, port, end)
                                             : message.Text;
    session_.Dialogs.Message(
        text, cancelled ? QString() : message.Title,
        cancelled ? MessageKind::Information : message.Kind,
        outcome.Copy.ok() ? QString() : session_.Gateway.LastDetails(ChosenPortNumber()));
    const CopyWindowState next = StateAfterTransfer(direction, outcome.Copy.Result, before);
    if (next == CopyWindowState::PortClosed)
        ProcessError();
    else
        Apply(next);
}

// A running transfer is not cut off: the port stays the transfer's until it ends.
void frmImpExpEEP::closeEvent(QCloseEvent* event) {
    if (state_ == CopyWindowState::Transferring) {
        event->ignore();
        return;
    }
    ClosePort();
    UserSettings().SaveGeometry(*this);
    event->accept();
    Q_EMIT closed();
}

}  // namespace kv
