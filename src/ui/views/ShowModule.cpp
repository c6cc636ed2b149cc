#include "ui/views/ShowModule.h"

#include <QGroupBox>
#include <QVBoxLayout>

#include "config/ViewRows.h"
#include "ui/common/CentreOnScreen.h"
#include "ui/views/GridTable.h"

namespace kv {
namespace {

QGroupBox* Frame(const QString& title, GridTable* table) {
    auto* frame = new QGroupBox(title);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(table, 0, Qt::AlignLeft);
    return frame;
}

}  // namespace

ShowModule::ShowModule(const GatewayConfig& config, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ShowModule"));
    setWindowTitle(QStringLiteral("Device Information"));
    setAttribute(Qt::WA_DeleteOnClose);

    const QString serialTitle = QStringLiteral("Modbus RTU/ASCII commands info.");
    const QString tcpTitle = QStringLiteral("Modbus TCP commands info.");
    auto* serial = new GridTable(QStringLiteral("ModuleInfoRecord_0"), serialTitle,
                                 SerialCommandGrid(config.EditSerialClasses));
    auto* tcp = new GridTable(QStringLiteral("ModuleInfoRecord_1"), tcpTitle,
                              TcpCommandGrid(config.EditTcpClasses));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame(serialTitle, serial));
    layout->addWidget(Frame(tcpTitle, tcp));
    FitAndCentreOnScreen(*this);
}

}  // namespace kv
