#pragma once
// The save window "Save to EEPROM": the poll connection paths, the two EDS information
// texts, and the two ways to change the gateway, "Save" (the whole configuration and the
// EDS file) and "Factory Setting". It works on its own copy of the poll paths, made from
// the read-out paths when it opens.

#include <QStringList>
#include <QWidget>
#include <array>

#include "save/PollPaths.h"
#include "save/SaveReports.h"

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
    struct PathGroup {
        PollDirection Direction;
        QComboBox* Class = nullptr;
        QComboBox* Instance = nullptr;
        QComboBox* Attribute = nullptr;
    };

    QGroupBox* MakePathGroup(PathGroup& group, const QString& title, const QString& objectPrefix);
    QGroupBox* MakePollFrame();
    QGroupBox* MakeEepromFrame();
    QGroupBox* MakeEdsFrame();
    QLayout* MakeButtons();
    void MakeStatusBar();
    void ShowReadPaths();

    void FillClassList(PathGroup& group);
    void RefillInstances(PathGroup& group);
    void RefillAttributes(PathGroup& group);
    void Preselect(PathGroup& group, PollPath& path);

    void SetPath();
    void Save();
    // For an opened configuration: reads the gateway and asks whether to write the changes
    // (FileChangesStep.cpp). False when the read-out failed or the user cancelled.
    bool ConfirmFileChanges();
    void RestoreFactorySettings();
    bool OpenPort();
    void Finish();
    void ProcessError(const FailureReport& report);
    void SetBusy(bool busy);
    void StartProgress(int maximum);

    Session& session_;
    ConnectionPaths working_;
    QStringList edsFolders_;
    bool SaveCompleted = false;
    bool busy_ = false;

    PathGroup produced_{PollDirection::Produced};
    PathGroup consumed_{PollDirection::Consumed};
    QPushButton* Btn_SetPath = nullptr;
    std::array<QLabel*, 3> Lbl_EEPProdPath{};
    std::array<QLabel*, 3> Lbl_EEPConsPath{};
    std::array<QLineEdit*, 2> EDSInfo{};
    QPushButton* FinishDeviceSet = nullptr;
    QPushButton* BackButton = nullptr;
    QPushButton* Btn_FactorySet = nullptr;
    QPushButton* AppObj = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
};

}  // namespace kv
