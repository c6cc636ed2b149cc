#pragma once
// The main window "General Setting": choose the PC serial port, read the gateway, look at
// and set the DeviceNet, COM and Ethernet parameters on three panels, go on to the
// application object editor or the EEPROM copy. Controls carry the names users and tests
// know them by (object names "ComButton_0", "Txt_ComParaView_2" for control arrays).

#include <QMainWindow>
#include <array>
#include <initializer_list>

#include "session/PortOperation.h"
#include "ui/common/Session.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QStackedWidget;

namespace kv {

class PanelToggle;

class Main_F : public QMainWindow {
    Q_OBJECT

public:
    // The panels the toggles select, in the order of ComButton 0..2.
    enum Panel { DeviceNetPanel = 0, ComPanel = 1, EthernetPanel = 2, NoPanel = 3 };
    static constexpr int PanelCount = 3;

    explicit Main_F(Session& session, QWidget* parent = nullptr);
    ~Main_F() override;

    bool Connected() const { return Connected_; }
    int SelectedPanel() const { return selectedPanel_; }

    // Reads the gateway behind the chosen port into the configuration (the Connect button).
    void ConnectSequence();
    // Hides everything that only makes sense after a read-out.
    void ResetLook();
    // Ends a read-out that failed: port closed, the window usable again.
    void AbortConnect();
    // Opens a configuration file as "Open Configuration..." does, after asking about
    // unsaved changes; a file that is refused is said and nothing changes.
    void OpenConfigurationPath(const QString& path);

Q_SIGNALS:
    void nextRequested();
    void eepromCopyRequested();
    void closeAccepted();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // Building the window (Main_FLayout.cpp).
    void BuildWindow();
    void BuildMenu();
    QWidget* BuildCommunication();
    QWidget* BuildSituation();
    QWidget* BuildGatewayPicture();
    QWidget* BuildToggles();
    QWidget* BuildDeviceNetPanel();
    QWidget* BuildComPanel();
    QWidget* BuildEthernetPanel();
    QWidget* BuildButtons();
    void FillPortList();

    // Behaviour (MainWindow.cpp).
    void ShowReadProgress(int value);
    void FinishReadOut(int portNumber, const PortOutcome<ReadOutResult>& outcome);
    void StartReadingLook();
    void DisableKeepingFocus(std::initializer_list<QWidget*> widgets);
    void ShowConnectedLook();
    void ReportReadFailure(const QString& message);
    void OnTogglePressed(int index);
    void PaintToggle(int index, bool down);
    void FillPanel(int index);
    void FillDeviceNetPanel();
    void FillComPanel(int port);
    void FillEthernetPanel();
    void SetDeviceNetParameter();
    void SetComParameter();
    void SetEthernetParameter();
    void OnCreateMBDevice();
    // "Open Configuration...", "Open Recent", "Save Configuration As...", dropped files,
    // the unsaved-changes question and the title (ConfigFileMenu.cpp).
    void OpenConfiguration();
    void LoadConfigurationFile(const QString& path);
    bool SaveConfigurationAs();
    void FillRecentMenu();
    void RememberRecentFile(const QString& path);
    // True when nothing unsaved would be lost, or the user saved or discarded it.
    bool MayDiscardChanges();
    void UpdateTitle();
    void SelectPort(int portNumber);
    int ChosenPortNumber() const;
    // "Save Console Trace...": the exchange of the last operation (ConsoleTraceMenu.cpp).
    void SaveConsoleTrace();
    void ShowAbout();
    void SetStateText(const QString& text);
    void SetStateBold(bool bold);

    Session& session_;
    bool Connected_ = false;
    int selectedPanel_ = NoPanel;
    bool keepFocus_ = false;
    std::array<int, 16> PortMap{};

    // Communication and situation.
    QComboBox* ComPort = nullptr;
    QPushButton* Connect = nullptr;
    QProgressBar* ConnectProgress = nullptr;
    QLineEdit* FirmwareVer = nullptr;
    QLineEdit* CommunicationState = nullptr;

    // Pictures and panel toggles; the hint stands in for them until a read-out.
    QLabel* startHint_ = nullptr;
    QLabel* ModulesImage = nullptr;
    QLabel* Image6102 = nullptr;
    std::array<PanelToggle*, PanelCount> ComButton{};
    std::array<QLabel*, PanelCount> ComImage{};
    std::array<QLabel*, PanelCount> ComCaption{};
    std::array<QLabel*, PanelCount> MousePoint{};
    // One page per panel, holding its setting and viewer frames.
    QStackedWidget* panels_ = nullptr;

    // DeviceNet panel.
    QGroupBox* DeviceNetParaSetting = nullptr;
    QComboBox* CANBaudrate = nullptr;
    QLineEdit* CANNodeId = nullptr;
    std::array<QLabel*, 2> ParaSettingC0{};
    QPushButton* SettingDeviceNetParam = nullptr;
    QGroupBox* DeviceNetParaView = nullptr;
    std::array<QLabel*, 2> Lbl_DeviceNetParaView{};
    std::array<QLineEdit*, 2> Txt_DeviceNetParaView{};

    // COM panel.
    QGroupBox* COMParaSeteing = nullptr;
    QComboBox* ComPo = nullptr;
    QComboBox* ComBr = nullptr;
    QComboBox* ComDb = nullptr;
    QComboBox* ComPb = nullptr;
    QComboBox* ComSb = nullptr;
    QPushButton* SettingCOMParameter = nullptr;
    QGroupBox* COMPara = nullptr;
    std::array<QLineEdit*, 4> Txt_ComParaView{};

    // Ethernet panel.
    QGroupBox* EthernetParaSetting = nullptr;
    std::array<QLineEdit*, 3> MasterEtherParam{};
    QPushButton* SettingEthernetParameter = nullptr;
    QGroupBox* EthernetParaView = nullptr;
    std::array<QLineEdit*, 3> Txt_EthernetParaView{};

    // Buttons and menu.
    QPushButton* CreateMBDevice = nullptr;
    QPushButton* ExitProgram = nullptr;
    QAction* MenuOpenConfig = nullptr;
    QAction* MenuSaveConfig = nullptr;
    QAction* MenuEEPCopy = nullptr;
    QAction* MenuSaveTrace = nullptr;
    QMenu* MenuRecent = nullptr;
    QAction* MenuExitProgram = nullptr;
    QAction* About_ = nullptr;
};

}  // namespace kv
