#pragma once
// "Import/Export EEPROM": copies the configuration blocks of a gateway into a backup file
// and from such a file back into a gateway. It has its own port choice and holds the
// program's one serial port open from "Open COM" to "Close COM".

#include <QWidget>

#include "backup/CopyMessages.h"
#include "backup/CopyWindowStates.h"
#include "backup/RestoreBackup.h"
#include "ui/common/Session.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace kv {

class frmImpExpEEP : public QWidget {
    Q_OBJECT

public:
    explicit frmImpExpEEP(Session& session, QWidget* parent = nullptr);

    CopyWindowState State() const { return state_; }

    QComboBox* ComPort = nullptr;
    QPushButton* Connect = nullptr;
    QPushButton* cmdDisconnect = nullptr;
    QPushButton* cmdImportToIni = nullptr;
    QPushButton* cmdExportToEEP = nullptr;
    // Ends a running transfer at its next console line: over a slow network port one takes
    // many minutes.
    QPushButton* CancelTransfer = nullptr;
    QPushButton* Command1 = nullptr;
    QProgressBar* ConnectProgress = nullptr;
    // Where the gateway's configuration was kept before an export.
    QLabel* BackupNote = nullptr;
    QGroupBox* CommunicationRegion = nullptr;

Q_SIGNALS:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildLayout();
    void OpenCom();
    void CloseCom();
    void ChoosePort();
    void FinishOpenCom(int number, const PortOpenResult& opened);
    void ImportToIniFile();
    void ExportToEepromFile();
    void Transfer(CopyDirection direction, const QString& path, bool allowIncomplete = false);
    bool WriteIncompleteAnyway(const CopyOutcome& outcome);
    void ProcessError();
    void Apply(CopyWindowState state);
    void Finish(CopyDirection direction, CopyWindowState before, const RestoreOutcome& outcome,
                const QString& path);
    int ChosenPortNumber() const;
    QString BackupFolder() const;
    void ClosePort();

    Session& session_;
    CopyWindowState state_ = CopyWindowState::PortClosed;
};

}  // namespace kv
