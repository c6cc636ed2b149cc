#include "ui/main/Main_F.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <algorithm>

#include "config/FirmwareText.h"
#include "config/ParameterChecks.h"
#include "console/Messages.h"
#include "console/PortOpening.h"
#include "console/ReadOut.h"
#include "session/PortOperation.h"
#include "ui/common/CentreOnScreen.h"
#include "ui/common/ComPortList.h"
#include "ui/common/UserSettings.h"
#include "ui/main/AboutWindow.h"
#include "ui/main/PanelToggle.h"

namespace kv {
namespace {

const QColor SelectedColour(255, 0, 0);
const QColor UnselectedColour(192, 192, 192);
constexpr int ProgressMaximum = 10;
constexpr int ProgressPortClosed = 9;

const char* const ConnectingText = "Connecting";
const char* const WaitingText = "Waiting for configuration";
const char* const ConnectFirstText = "Connect KV-9052R First";
const char* const ExitQuestionText = "Are you sure to exit this program?";
const char* const ExitQuestionTitle = "Exit Query";
const char* const ErrorTitle = "Error";

void SetShown(std::initializer_list<QWidget*> widgets, bool shown) {
    for (QWidget* widget : widgets) widget->setVisible(shown);
}

void SetEnabled(std::initializer_list<QWidget*> widgets, bool enabled) {
    for (QWidget* widget : widgets) widget->setEnabled(enabled);
}

}  // namespace

Main_F::Main_F(Session& session, QWidget* parent) : QMainWindow(parent), session_(session) {
    BuildWindow();
    session_.Config.DeviceNetParams = {};
    session_.SetCommunicationState = [this](const QString& text) { SetStateText(text); };
    ResetLook();
    ConnectProgress->hide();
    // The port used last, else the one the list starts on: the first with a device.
    SelectPort(UserSettings().Port(objectName(), ChosenPortNumber()));
    session_.PortNumber = ChosenPortNumber();
    setAcceptDrops(true);
    adjustSize();
    // Every control keeps its place however small the window is made.
    setMinimumSize(minimumSizeHint());
    if (!UserSettings().RestoreGeometry(*this)) CentreOnScreen(*this);
    UpdateTitle();
}

Main_F::~Main_F() {
    session_.SetCommunicationState = [](const QString&) {};
}

void Main_F::ResetLook() {
    for (int i = 0; i < PanelCount; ++i)
        SetShown({ComCaption[i], ComImage[i], ComButton[i], MousePoint[i]}, false);
    for (int i = 0; i < 2; ++i)
        SetShown({ParaSettingC0[i], Lbl_DeviceNetParaView[i], Txt_DeviceNetParaView[i]}, false);
    SetShown({CANBaudrate, CANNodeId, SettingDeviceNetParam, Image6102, ModulesImage}, false);
    CreateMBDevice->setEnabled(false);
    panels_->setCurrentIndex(DeviceNetPanel);
    startHint_->setVisible(!Connected_);
}

void Main_F::AbortConnect() {
    SetEnabled({ComPort, Connect, ExitProgram}, true);
    MenuEEPCopy->setEnabled(true);
    ConnectProgress->hide();
    startHint_->show();
    Connect->setFocus();
}

void Main_F::ConnectSequence() {
    SetStateBold(false);
    // A read-out replaces the configuration.
    if (session_.Gateway.IsBusy() || !MayDiscardChanges()) return;
    RefreshComPortToolTips(ComPort);  // adapters come and go between read-outs
    const int portNumber = ChosenPortNumber();
    session_.PortNumber = portNumber;
    UserSettings().SetPort(objectName(), portNumber);
    using Outcome = PortOutcome<ReadOutResult>;
    // Closing is refused from now on (the session is busy), also before the port has opened.
    session_.Gateway.Run<Outcome>(
        this,
        [portNumber, config = session_.Config](ConsoleLink& link, const ProgressFn& progress) {
            return RunOnPort<ReadOutResult>(link, portNumber, config, progress,
                                            [&](ConsoleLink& open, GatewayConfig& read) {
                                                return ReadGateway(open, read, progress);
                                            });
        },
        [this](int value) { ShowReadProgress(value); },
        [this, portNumber](const Outcome& outcome) { FinishReadOut(portNumber, outcome); },
        ExchangesBound(ReadOutExchanges));
}

void Main_F::ShowReadProgress(int value) {
    if (value == PortOpenedProgress)
        StartReadingLook();
    else
        ConnectProgress->setValue(value);
}

// A port that did not open is reported here and nothing else changes in the window.
void Main_F::FinishReadOut(int portNumber, const PortOutcome<ReadOutResult>& outcome) {
    if (!outcome.Opened.ok()) {
        const FailureReport report =
            ReportPortFailure(outcome.Opened, portNumber, ReadOutPortTitles);
        session_.Dialogs.Message(report.Text, report.Title, report.Kind,
                                 DetailsThen(report, session_.Gateway.LastTrace()));
        if (report.CommunicationState) SetStateText(*report.CommunicationState);
        return;
    }
    // The fields decoded before a failure stay, as they would on the gateway's own screen.
    session_.Config = outcome.Config;
    session_.Probes.clear();  // they were of the configuration before
    // A device that went away is told in the port's words.
    if (outcome.Value != ReadOutResult::Ok)
        return ReportReadFailure(ReadOutFailureText(outcome.Value, session_.Gateway.LastEnd()));
    session_.LastRead = outcome.Config;
    MarkSaved(session_);
    ConnectProgress->setValue(ProgressPortClosed);
    ShowConnectedLook();
}

void Main_F::StartReadingLook() {
    Connect->setFocus();
    ResetLook();
    SetStateText(ConnectingText);
    DisableKeepingFocus({Connect, ComPort, CreateMBDevice, ExitProgram});
    // Copying EEPROM blocks would share the port with the read-out.
    MenuEEPCopy->setEnabled(false);
    FirmwareVer->clear();
    for (int i = 0; i < PanelCount; ++i) PaintToggle(i, false);
    session_.OpenedFile.clear();
    Connected_ = false;
    selectedPanel_ = NoPanel;
    ConnectProgress->setRange(0, ProgressMaximum);
    ConnectProgress->setValue(0);
    ConnectProgress->show();
    ConnectProgress->setValue(1);
}

// Qt passes the focus of a control being disabled on along the tab chain, which here is
// the read-only "Firmware Version" field. During a read-out the focus rests on Connect, so
// keyboard and screen reader users find it where they started.
void Main_F::DisableKeepingFocus(std::initializer_list<QWidget*> widgets) {
    keepFocus_ = true;
    SetEnabled(widgets, false);
    keepFocus_ = false;
}

bool Main_F::focusNextPrevChild(bool next) {
    return keepFocus_ || QMainWindow::focusNextPrevChild(next);
}

void Main_F::ReportReadFailure(const QString& message) {
    session_.Dialogs.Message(message, ErrorTitle, MessageKind::Error,
                             session_.Gateway.LastDetails(session_.PortNumber));
    SetStateText(TimeoutText);
    AbortConnect();
}

void Main_F::ShowConnectedLook() {
    const GatewayConfig& config = session_.Config;
    for (int i = 0; i < PanelCount; ++i) {
        SetShown({ComImage[i], ComButton[i], MousePoint[i]}, true);
        PaintToggle(i, false);
    }
    startHint_->hide();
    ModulesImage->show();
    FirmwareVer->setText(FirmwareVersionText(config.FirmwareInfo));
    CANNodeId->setText(QString::number(config.DeviceNetParams.NodeId));
    SetStateText(WaitingText);
    Image6102->show();
    for (QLabel* caption : ComCaption) caption->show();
    if (config.DeviceNetParams.BaudIndex < DeviceNetBaudCount)
        CANBaudrate->setCurrentIndex(config.DeviceNetParams.BaudIndex);
    SetEnabled({ComPort, CreateMBDevice, ExitProgram, Connect}, true);
    MenuEEPCopy->setEnabled(true);
    Connected_ = true;
    ConnectProgress->setValue(ProgressMaximum);
    ConnectProgress->hide();
    for (int i = 0; i < 2; ++i)
        SetShown({ParaSettingC0[i], Lbl_DeviceNetParaView[i], Txt_DeviceNetParaView[i]}, true);
    SetShown({CANBaudrate, CANNodeId, SettingDeviceNetParam}, true);
    ComButton[DeviceNetPanel]->setChecked(true);
    OnTogglePressed(DeviceNetPanel);
    Connect->setFocus();
    UpdateTitle();
}

// The toggles act as a group of which at most one is down. Pressing the selected one
// releases it; pressing it once more brings its panel back without refilling the fields,
// so what the user typed there survives.
void Main_F::OnTogglePressed(int index) {
    if (ComButton[index]->isChecked()) {
        if (index != selectedPanel_) {
            if (selectedPanel_ != NoPanel) PaintToggle(selectedPanel_, false);
            FillPanel(index);
        }
        PaintToggle(index, true);
        panels_->setCurrentIndex(index);
    } else if (selectedPanel_ != NoPanel) {
        PaintToggle(index, false);
    }
    selectedPanel_ = index;
}

void Main_F::PaintToggle(int index, bool down) {
    ComButton[index]->setChecked(down);
    ComButton[index]->SetBackgroundColour(down ? SelectedColour : UnselectedColour);
}

void Main_F::FillPanel(int index) {
    switch (index) {
        case DeviceNetPanel:
            FillDeviceNetPanel();
            break;
        case ComPanel:
            ComPo->setCurrentIndex(0);
            FillComPanel(0);
            break;
        case EthernetPanel:
            FillEthernetPanel();
            break;
    }
}

void Main_F::FillDeviceNetPanel() {
    DeviceNetParams& params = session_.Config.DeviceNetParams;
    // 0 is a valid node ID, which the Set check accepts too; only a number past the last
    // address is not.
    if (params.NodeId > 63) params.NodeId = 1;
    CANNodeId->setText(QString::number(params.NodeId));
    Txt_DeviceNetParaView[1]->setText(CANNodeId->text());
    if (params.BaudIndex < DeviceNetBaudCount)
        CANBaudrate->setCurrentIndex(params.BaudIndex);
    else
        params.BaudIndex = 0;
    Txt_DeviceNetParaView[0]->setText(CANBaudrate->currentText());
}

void Main_F::FillComPanel(int port) {
    if (port < 0 || port >= SerialClassCount) return;
    const SerialClassRecord& settings = session_.Config.SerialClasses[size_t(port)];
    // A position the gateway gave that is not in a list leaves that list as it is.
    const auto show = [](QComboBox* list, int position, QLineEdit* view) {
        if (position >= 0 && position < list->count()) list->setCurrentIndex(position);
        view->setText(list->currentText().trimmed());
    };
    show(ComBr, session_.Config.ComBaudIndex[size_t(port)], Txt_ComParaView[0]);
    show(ComDb, settings.DataBits - 7, Txt_ComParaView[1]);
    show(ComPb, settings.Parity, Txt_ComParaView[2]);
    show(ComSb, settings.StopBits - 1, Txt_ComParaView[3]);
}

void Main_F::FillEthernetPanel() {
    const EthernetParams& params = session_.Config.EthernetParams;
    const QString values[] = {params.Ip, params.Gateway, params.Mask};
    for (int i = 0; i < 3; ++i) {
        MasterEtherParam[i]->setText(values[i]);
        Txt_EthernetParaView[i]->setText(values[i]);
    }
}

void Main_F::SetDeviceNetParameter() {
    const SettingResult result =
        ApplyDeviceNetSetting(session_.Config, CANNodeId->text(), CANBaudrate->currentIndex());
    if (!result.ok()) {
        session_.Dialogs.Message(result.Message, SettingErrorTitle, MessageKind::Error);
        return;
    }
    Txt_DeviceNetParaView[0]->setText(CANBaudrate->currentText());
    Txt_DeviceNetParaView[1]->setText(QString::number(session_.Config.DeviceNetParams.NodeId));
    SetStateText(DeviceNetSetText);
    UpdateTitle();
}

void Main_F::SetComParameter() {
    const ComSettingPositions positions{ComPo->currentIndex(), ComBr->currentIndex(),
                                        ComDb->currentIndex(), ComPb->currentIndex(),
                                        ComSb->currentIndex()};
    const SettingResult result = ApplyComSetting(session_.Config, positions);
    if (!result.ok()) {
        session_.Dialogs.Message(result.Message, SettingErrorTitle, MessageKind::Error);
        return;
    }
    const std::array<QComboBox*, 4> lists = {ComBr, ComDb, ComPb, ComSb};
    for (size_t i = 0; i < lists.size(); ++i)
        Txt_ComParaView[i]->setText(lists[i]->currentText().trimmed());
    SetStateText(ComSetText);
    UpdateTitle();
}

void Main_F::SetEthernetParameter() {
    EthernetParams& params = session_.Config.EthernetParams;
    const EthernetSettingResult result = ApplyEthernetSetting(
        params,
        {MasterEtherParam[0]->text(), MasterEtherParam[1]->text(), MasterEtherParam[2]->text()});
    const QString stored[] = {params.Ip, params.Gateway, params.Mask};
    for (int i = 0; i < result.Accepted; ++i) Txt_EthernetParaView[i]->setText(stored[i]);
    UpdateTitle();
    if (!result.ok())
        session_.Dialogs.Message(result.Message, SettingErrorTitle, MessageKind::Error);
}

void Main_F::OnCreateMBDevice() {
    if (!Connected_) {
        SetStateText(ConnectFirstText);
        SetStateBold(!CommunicationState->font().bold());
        return;
    }
    Q_EMIT nextRequested();
}

void Main_F::ShowAbout() {
    // One About window at a time; asking again brings it to the front.
    auto* about = findChild<AboutWindow*>();
    if (!about) {
        about = new AboutWindow(this);
        about->setAttribute(Qt::WA_DeleteOnClose);
    }
    about->show();
    about->raise();
    about->activateWindow();
}

void Main_F::closeEvent(QCloseEvent* event) {
    if (session_.Gateway.IsBusy()) {
        session_.Dialogs.Message(ConnectingNowText, ErrorTitle, MessageKind::Error);
        event->ignore();
        return;
    }
    // With changes the question is whether to keep them; without, the usual one.
    const bool leave = HasUnsavedChanges(session_)
                           ? MayDiscardChanges()
                           : session_.Dialogs.AskYesNo(ExitQuestionText, ExitQuestionTitle);
    if (!leave) {
        event->ignore();
        return;
    }
    UserSettings().SaveGeometry(*this);
    event->accept();
    Q_EMIT closeAccepted();
}

// Back from the other windows, a save or a factory reset may have changed what is loaded.
void Main_F::showEvent(QShowEvent* event) {
    UpdateTitle();
    QMainWindow::showEvent(event);
}

int Main_F::ChosenPortNumber() const {
    return PortMap[size_t(std::max(0, ComPort->currentIndex()))];
}

void Main_F::SelectPort(int portNumber) {
    const auto found = std::find(PortMap.begin(), PortMap.end(), portNumber);
    if (found != PortMap.end()) ComPort->setCurrentIndex(int(found - PortMap.begin()));
}

void Main_F::SetStateText(const QString& text) { CommunicationState->setText(text); }

void Main_F::SetStateBold(bool bold) {
    QFont font = CommunicationState->font();
    font.setBold(bold);
    CommunicationState->setFont(font);
}

}  // namespace kv
