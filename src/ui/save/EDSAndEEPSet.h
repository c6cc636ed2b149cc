#pragma once
// The save window "Save to EEPROM": the poll connection paths, the two EDS information
// texts, and the two ways to change the gateway, "Save" (the whole configuration and the
// EDS file) and "Factory Setting". It works on its own copy of the poll paths, made from
// the read-out paths when it opens.

#include <QProgressBar>
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

#include "console/PortOpening.h"
#include "save/ApplyConfiguration.h"
#include "save/PollPaths.h"
#include "save/SaveReports.h"
#include "session/PortOperation.h"
#include "ui/common/Session.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;

namespace kv {

struct Session;

class EDSAndEEPSet : public QWidget {
    Q_OBJECT
public:
    explicit EDSAndEEPSet(Session& session, QWidget* parent = nullptr);

    // The working poll paths, as "Set Path" last stored them.
    const ConnectionPaths& WorkingPaths() const { return working_; }
    // Where "Save" puts the EDS file; the program's folder, else the documents folder.
    void SetEdsFolders(const QStringList& folders) { edsFolders_ = folders; }

Q_SIGNALS:
    void closedWithoutSave();
    void saveCompleted();
    void objectViewRequested();
    void memoryMapRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    static constexpr int SaveProgressMaximum = 130;
    struct PathGroup {
        PollDirection Direction;
        QComboBox* Class = nullptr;
        QComboBox* Instance = nullptr;
        QComboBox* Attribute = nullptr;
        QLabel* Moved = nullptr;  // says when the earlier path is no longer offered
    };

    QGroupBox* MakePathGroup(PathGroup& group, const QString& title, const QString& objectPrefix);
    QGroupBox* MakePollFrame();
    QGroupBox* MakeEepromFrame();
    QGroupBox* MakeEdsFrame();
    QLayout* MakeButtons();
    QLabel* MakeWarningsNote();
    void MakeStatusBar();
    void ShowReadPaths();

    void FillClassList(PathGroup& group);
    void RefillInstances(PathGroup& group);
    void RefillAttributes(PathGroup& group);
    void Preselect(PathGroup& group, PollPath& path);

    void SetPath();
    void Save();
    void WriteToGateway();
    // Says that the save is done and what the read-back found.
    void ReportWritten(const SaveOutcome& saved, const std::optional<ReadBack>& verified);
    bool KeepBackupBeforeWrite(const GatewayConfig& read);
    // Whether the gateway must be read before a write, for its backup: an opened
    // configuration may be another gateway's than the one on the port.
    bool MustReadFirst() const;
    // Reads the gateway as the main window reads it, then goes on with what was read
    // (FileChangesStep.cpp); a failed read-out is reported and ends there.
    void ReadGatewayThen(std::function<void(const GatewayConfig&)> next);
    // For an opened configuration: shows the changes and asks whether to write them.
    void ReadBeforeFileSave();
    void RestoreFactorySettings();
    void ResetToFactory();
    template <typename Result, typename Work, typename Done>
    void RunOnGateway(int progressMaximum, Work work, Done done);
    void Finish();
    void ProcessError(const FailureReport& report);
    // A Cancel ended the operation: what became of the gateway, as a stop signal tells it.
    void ReportCancelled();
    // The buttons while an operation of this window runs: only Cancel.
    void ShowBusy(bool busy);
    void StartProgress(int maximum);

    Session& session_;
    ConnectionPaths working_;
    QStringList edsFolders_;
    bool SaveCompleted = false;
    QString backupPath_;  // the backup kept before the running write

    PathGroup produced_{PollDirection::Produced};
    PathGroup consumed_{PollDirection::Consumed};
    QPushButton* Btn_SetPath = nullptr;
    std::array<QLabel*, 3> Lbl_EEPProdPath{};
    std::array<QLabel*, 3> Lbl_EEPConsPath{};
    std::array<QLineEdit*, 2> EDSInfo{};
    QPushButton* FinishDeviceSet = nullptr;
    QCheckBox* VerifyAfterWriting = nullptr;
    QPushButton* BackButton = nullptr;
    QPushButton* Btn_FactorySet = nullptr;
    QPushButton* CancelOperation = nullptr;
    QPushButton* AppObj = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* BackupNote = nullptr;  // where the gateway's configuration was kept
};

// Runs a write on the session; the buttons stay locked until its outcome arrives. The
// configuration comes back as the write left it, also after a failure.
template <typename Result, typename Work, typename Done>
inline void EDSAndEEPSet::RunOnGateway(int progressMaximum, Work work, Done done) {
    ShowBusy(true);
    StartProgress(progressMaximum);
    using Outcome = PortOutcome<Result>;
    const int portNumber = session_.PortNumber;
    const bool started = session_.Gateway.Run<Outcome>(
        this,
        [portNumber, config = session_.Config, work](ConsoleLink& link,
                                                     const ProgressFn& progress) {
            return RunOnPort<Result>(link, portNumber, config, progress,
                                     [&](ConsoleLink& open, GatewayConfig& written) {
                                         return work(open, written, progress);
                                     });
        },
        [this](int value) {
            if (value != PortOpenedProgress) ProgressBar1->setValue(value);
        },
        [this, portNumber, done](const Outcome& outcome) {
            // Every failure, the port that did not open included, gives the buttons back.
            if (!outcome.Opened.ok())
                return ProcessError(ReportPortFailure(outcome.Opened, portNumber));
            session_.Config = outcome.Config;
            done(outcome.Value);
        });
    if (!started) ShowBusy(false);
}

}  // namespace kv
