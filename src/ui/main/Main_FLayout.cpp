// Building the main window's controls. The behaviour lives in MainWindow.cpp.

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "config/BaudTexts.h"
#include "config/ParameterChecks.h"
#include "platform/PortNaming.h"
#include "ui/common/ComPortList.h"
#include "ui/main/Main_F.h"
#include "ui/main/PanelToggle.h"
#include "ui/main/Pictures.h"
#include "ui/main/ReportMenu.h"

namespace kv {
namespace {

// Fields longer than any address or number; keeps pasted novels out of the model.
constexpr int FieldMaxLength = 40;

QString ArrayName(const char* base, int index) {
    return QStringLiteral("%1_%2").arg(base).arg(index);
}

template <typename W>
W* Named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QLineEdit* ReadOnlyField(const QString& name) {
    auto* field = Named(new QLineEdit, name);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::TabFocus);
    return field;
}

QLineEdit* InputField(const QString& name) {
    auto* field = Named(new QLineEdit, name);
    field->setMaxLength(FieldMaxLength);
    return field;
}

QComboBox* List(const QString& name, const QStringList& entries) {
    auto* list = Named(new QComboBox, name);
    list->addItems(entries);
    return list;
}

QGroupBox* Frame(const QString& name, const QString& title) {
    return Named(new QGroupBox(title), name);
}

// A row of a form: the label names the field for keyboard and screen-reader users.
void AddRow(QGridLayout* grid, QLabel* label, QWidget* field) {
    const int row = grid->rowCount();
    label->setBuddy(field);
    field->setAccessibleName(label->text().simplified());
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
}

QGridLayout* FormGrid(QWidget* frame) {
    auto* grid = new QGridLayout(frame);
    grid->setColumnStretch(1, 1);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(8);
    return grid;
}

// The Set button sits alone in the frame's last row, on the right.
QPushButton* AddSetButton(QGridLayout* grid, const QString& name, const QString& accessibleName) {
    auto* button = Named(new QPushButton("Set"), name);
    button->setAccessibleName(accessibleName);
    grid->setRowStretch(grid->rowCount(), 1);
    grid->addWidget(button, grid->rowCount(), 1, Qt::AlignRight);
    return button;
}

// A viewer frame's rows: a label and a read-only field each, named "<labelBase>_<i>" and
// "<fieldBase>_<i>"; the free room goes below them.
template <std::size_t N>
void AddViewerRows(QGridLayout* view, const char* const (&labels)[N], const char* labelBase,
                   const char* fieldBase, std::array<QLineEdit*, N>& fields,
                   std::array<QLabel*, N>* labelWidgets = nullptr) {
    for (std::size_t i = 0; i < N; ++i) {
        auto* label = Named(new QLabel(labels[i]), ArrayName(labelBase, int(i)));
        if (labelWidgets) (*labelWidgets)[i] = label;
        fields[i] = ReadOnlyField(ArrayName(fieldBase, int(i)));
        AddRow(view, label, fields[i]);
    }
    view->setRowStretch(view->rowCount(), 1);
}

// "1200        BPS" .. "115200    BPS": two blanks per missing digit line the unit up.
QStringList ComBaudEntries() {
    QStringList entries;
    for (const char* text : BaudTexts) {
        const int digits = int(qstrlen(text));
        entries << QString(text) + QString(16 - 2 * digits, u' ') + QStringLiteral("BPS");
    }
    return entries;
}

void KeepPlaceWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

QWidget* Page(QWidget* setting, QWidget* viewer) {
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(setting, 1);
    layout->addWidget(viewer, 1);
    return page;
}

}  // namespace

void Main_F::BuildWindow() {
    setObjectName("Main_F");
    setWindowTitle("General Setting");
    BuildMenu();

    auto* central = new QWidget;
    auto* grid = new QGridLayout(central);
    grid->setContentsMargins(16, 12, 16, 16);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(12);
    grid->addWidget(BuildCommunication(), 0, 0);
    grid->addWidget(BuildSituation(), 0, 1);

    auto* gatewayColumn = new QVBoxLayout;
    startHint_ = Named(new QLabel("Choose the PC COM port the gateway is connected to and press "
                                  "Connect to read its configuration."),
                       "StartHint");
    startHint_->setWordWrap(true);
    startHint_->setStyleSheet("color: #5f6b77;");
    gatewayColumn->addWidget(startHint_);
    gatewayColumn->addWidget(BuildGatewayPicture());
    gatewayColumn->addWidget(BuildToggles());
    gatewayColumn->addStretch(1);
    grid->addLayout(gatewayColumn, 1, 0);

    panels_ = Named(new QStackedWidget, "Panels");
    panels_->addWidget(BuildDeviceNetPanel());
    panels_->addWidget(BuildComPanel());
    panels_->addWidget(BuildEthernetPanel());
    grid->addWidget(panels_, 1, 1);
    grid->addWidget(BuildButtons(), 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);
    setCentralWidget(central);
}

void Main_F::BuildMenu() {
    QMenu* file = menuBar()->addMenu("&File");
    MenuOpenConfig = Named(file->addAction("&Open Configuration..."), "MenuOpenConfig");
    MenuOpenConfig->setShortcut(QKeySequence::Open);
    MenuRecent = Named(file->addMenu("Open &Recent"), "MenuRecent");
    connect(MenuRecent, &QMenu::aboutToShow, this, &Main_F::FillRecentMenu);
    FillRecentMenu();
    MenuSaveConfig = Named(file->addAction("Save Configuration &As..."), "MenuSaveConfig");
    MenuSaveConfig->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    connect(MenuOpenConfig, &QAction::triggered, this, &Main_F::OpenConfiguration);
    connect(MenuSaveConfig, &QAction::triggered, this, &Main_F::SaveConfigurationAs);
    AddExportReport(*file, session_, *this,
                    [this] { return Connected_ && !session_.Gateway.IsBusy(); });
    MenuEEPCopy = Named(file->addAction("&EEPCpoy"), "MenuEEPCopy");
    MenuSaveTrace = Named(file->addAction("Save Console &Trace..."), "MenuSaveTrace");
    connect(MenuSaveTrace, &QAction::triggered, this, &Main_F::SaveConsoleTrace);
    file->addSeparator();
    MenuExitProgram = Named(file->addAction("E&xit"), "MenuExitProgram");
    MenuExitProgram->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    About_ = Named(menuBar()->addAction("&About"), "About_");
    connect(MenuEEPCopy, &QAction::triggered, this, [this] {
        if (!session_.Gateway.IsBusy()) Q_EMIT eepromCopyRequested();
    });
    connect(MenuExitProgram, &QAction::triggered, this, &QWidget::close);
    connect(About_, &QAction::triggered, this, &Main_F::ShowAbout);
}

QWidget* Main_F::BuildCommunication() {
    auto* frame = Frame("Communication", "Communication");
    auto* grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(12);
    ComPort = Named(new QComboBox, "ComPort");
    FillPortList();
    auto* label = Named(new QLabel("PC COM Port"), "Lbl_ComPort");
    label->setBuddy(ComPort);
    ComPort->setAccessibleName("PC COM Port");
    Connect = Named(new QPushButton("Connect"), "Connect");
    Connect->setDefault(true);
    ConnectProgress = Named(new QProgressBar, "ConnectProgress");
    ConnectProgress->setAccessibleName("Read-out progress");
    ConnectProgress->setTextVisible(false);
    ConnectProgress->setMaximumHeight(8);
    KeepPlaceWhenHidden(ConnectProgress);
    grid->addWidget(label, 0, 0);
    grid->addWidget(ComPort, 0, 1);
    grid->addWidget(Connect, 0, 2);
    grid->addWidget(MakeComDeviceLabel(ComPort), 1, 0, 1, 3);
    grid->addWidget(ConnectProgress, 2, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    connect(Connect, &QPushButton::clicked, this, &Main_F::ConnectSequence);
    return frame;
}

QWidget* Main_F::BuildSituation() {
    auto* frame = Frame("Situation", "Situation");
    auto* grid = FormGrid(frame);
    FirmwareVer = ReadOnlyField("FirmwareVer");
    CommunicationState = ReadOnlyField("CommunicationState");
    AddRow(grid, Named(new QLabel("Firmware Version"), "Lbl_FirmwareVer"), FirmwareVer);
    AddRow(grid, Named(new QLabel("Status"), "Lbl_CommunicationState"), CommunicationState);
    return frame;
}

QWidget* Main_F::BuildGatewayPicture() {
    auto* area = new QWidget;
    auto* row = new QHBoxLayout(area);
    row->setContentsMargins(0, 0, 0, 0);
    ModulesImage = Named(PictureLabel(GatewayPicture, {200, 140}), "ModulesImage");
    ModulesImage->setAccessibleName("KV-9052R gateway");
    Image6102 = Named(PictureLabel(ControllerPicture, {100, 140}), "Image6102");
    Image6102->setAccessibleName("Controller");
    for (QLabel* picture : {ModulesImage, Image6102}) {
        KeepPlaceWhenHidden(picture);
        row->addWidget(picture);
    }
    row->addStretch(1);
    return area;
}

QWidget* Main_F::BuildToggles() {
    static const char* const captions[] = {"CAN Bus", "COM", "Ethernet"};
    static const char* const hints[] = {"CAN Port", "COM Port", "Ethernet Port"};
    static const char* const pictures[] = {CanPortPicture, ComPortPicture, EthernetPortPicture};
    auto* area = new QWidget;
    auto* row = new QHBoxLayout(area);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    for (int i = 0; i < PanelCount; ++i) {
        auto* tile = new QVBoxLayout;
        ComCaption[i] = Named(new QLabel(captions[i]), ArrayName("ComCaption", i));
        ComCaption[i]->setStyleSheet("font-weight: 600;");
        ComButton[i] = Named(new PanelToggle, ArrayName("ComButton", i));
        ComButton[i]->setAccessibleName(QStringLiteral("%1 panel").arg(captions[i]));
        ComButton[i]->setToolTip(hints[i]);
        ComImage[i] = Named(PictureLabel(pictures[i], {72, 52}), ArrayName("ComImage", i));
        ComButton[i]->SetPicture(ComImage[i]);
        MousePoint[i] = Named(new QLabel(hints[i]), ArrayName("MousePoint", i));
        MousePoint[i]->setStyleSheet("color: #5f6b77;");
        for (QLabel* label : {ComCaption[i], MousePoint[i]}) label->setAlignment(Qt::AlignCenter);
        for (QWidget* widget :
             {static_cast<QWidget*>(ComCaption[i]), static_cast<QWidget*>(ComButton[i]),
              static_cast<QWidget*>(MousePoint[i])}) {
            KeepPlaceWhenHidden(widget);
            tile->addWidget(widget);
        }
        row->addLayout(tile);
        connect(ComButton[i], &QAbstractButton::clicked, this, [this, i] { OnTogglePressed(i); });
    }
    row->addStretch(1);
    return area;
}

QWidget* Main_F::BuildDeviceNetPanel() {
    DeviceNetParaSetting = Frame("DeviceNetParaSetting", "DeviceNet  Setting");
    auto* grid = FormGrid(DeviceNetParaSetting);
    CANBaudrate =
        List("CANBaudrate", {DeviceNetBaudTexts[0], DeviceNetBaudTexts[1], DeviceNetBaudTexts[2]});
    CANNodeId = InputField("CANNodeId");
    const char* const labels[] = {"Baud rate", "Node ID"};
    for (int i = 0; i < 2; ++i)
        ParaSettingC0[i] = Named(new QLabel(labels[i]), ArrayName("ParaSettingC0", i));
    AddRow(grid, ParaSettingC0[0], CANBaudrate);
    AddRow(grid, ParaSettingC0[1], CANNodeId);
    SettingDeviceNetParam = AddSetButton(grid, "SettingDeviceNetParam", "Set DeviceNet parameters");
    connect(SettingDeviceNetParam, &QPushButton::clicked, this, &Main_F::SetDeviceNetParameter);

    DeviceNetParaView = Frame("DeviceNetParaView", "DeviceNet Parameters Viewer");
    AddViewerRows(FormGrid(DeviceNetParaView), labels, "Lbl_DeviceNetParaView",
                  "Txt_DeviceNetParaView", Txt_DeviceNetParaView, &Lbl_DeviceNetParaView);
    return Page(DeviceNetParaSetting, DeviceNetParaView);
}

QWidget* Main_F::BuildComPanel() {
    COMParaSeteing = Frame("COMParaSeteing", "COM Port Setting");
    auto* grid = FormGrid(COMParaSeteing);
    ComPo = List("ComPo", {"COM1", "COM2"});
    ComBr = List("ComBr", ComBaudEntries());
    ComDb = List("ComDb", {"7", "8"});
    ComPb = List("ComPb", {"NONE", "EVEN", "ODD"});
    ComSb = List("ComSb", {"1", "2"});
    AddRow(grid, Named(new QLabel("Port"), "Lbl_ComPo"), ComPo);
    const char* const labels[] = {"Baud rate", "Data Bit", "Parity", "Stop Bit"};
    const std::array<QComboBox*, 4> lists = {ComBr, ComDb, ComPb, ComSb};
    for (int i = 0; i < 4; ++i)
        AddRow(grid, Named(new QLabel(labels[i]), ArrayName("Lbl_ComSetting", i)), lists[i]);
    SettingCOMParameter = AddSetButton(grid, "SettingCOMParameter", "Set COM port parameters");
    connect(SettingCOMParameter, &QPushButton::clicked, this, &Main_F::SetComParameter);
    connect(ComPo, &QComboBox::activated, this, &Main_F::FillComPanel);

    COMPara = Frame("COMPara", "COM Parameters Viewer");
    AddViewerRows(FormGrid(COMPara), labels, "Lbl_ComParaView", "Txt_ComParaView", Txt_ComParaView);
    return Page(COMParaSeteing, COMPara);
}

QWidget* Main_F::BuildEthernetPanel() {
    EthernetParaSetting = Frame("EthernetParaSetting", "Ethernet Setting");
    auto* grid = FormGrid(EthernetParaSetting);
    const char* const settingLabels[] = {"Master  IP", "Master Gateway", "Master Mask"};
    const char* const viewLabels[] = {"IP", "Gateway", "Mask"};
    for (int i = 0; i < 3; ++i) {
        MasterEtherParam[i] = InputField(ArrayName("MasterEtherParam", i));
        AddRow(grid, Named(new QLabel(settingLabels[i]), ArrayName("Lbl_MasterEtherParam", i)),
               MasterEtherParam[i]);
    }
    SettingEthernetParameter =
        AddSetButton(grid, "SettingEthernetParameter", "Set Ethernet parameters");
    connect(SettingEthernetParameter, &QPushButton::clicked, this, &Main_F::SetEthernetParameter);

    EthernetParaView = Frame("EthernetParaView", "Ethernet Parameters Viewer");
    AddViewerRows(FormGrid(EthernetParaView), viewLabels, "Lbl_EthernetParaView",
                  "Txt_EthernetParaView", Txt_EthernetParaView);
    return Page(EthernetParaSetting, EthernetParaView);
}

QWidget* Main_F::BuildButtons() {
    auto* area = new QWidget;
    auto* row = new QHBoxLayout(area);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(1);
    CreateMBDevice = Named(new QPushButton("Next"), "CreateMBDevice");
    ExitProgram = Named(new QPushButton("Exit Program"), "ExitProgram");
    for (QPushButton* button : {CreateMBDevice, ExitProgram}) {
        button->setMinimumWidth(120);
        row->addWidget(button);
    }
    connect(CreateMBDevice, &QPushButton::clicked, this, &Main_F::OnCreateMBDevice);
    connect(ExitProgram, &QPushButton::clicked, this, &QWidget::close);
    return area;
}

void Main_F::FillPortList() {
    for (int i = 0; i < ComPortCount; ++i) PortMap[size_t(i)] = i + 1;
    FillComPortList(ComPort);
    connect(ComPort, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) session_.PortNumber = PortMap[size_t(index)];
    });
}

}  // namespace kv
