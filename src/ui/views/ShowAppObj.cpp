#include "ui/views/ShowAppObj.h"

#include <QGroupBox>
#include <QVBoxLayout>

#include "config/ViewRows.h"
#include "ui/common/CentreOnScreen.h"
#include "ui/common/ProbePanel.h"
#include "ui/views/GridTable.h"

namespace kv {

ShowAppObj::ShowAppObj(const GatewayConfig& config, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ShowAppObj"));
    setWindowTitle(QStringLiteral("Application Object Information"));
    setAttribute(Qt::WA_DeleteOnClose);

    const QString title = QStringLiteral("DeviceNet Object Information");
    auto* table = new GridTable(QStringLiteral("AppObjParaRecord"), title,
                                AppObjectGrid(config.EditSerialClasses, config.EditTcpClasses));
    auto* frame = new QGroupBox(title);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(table);

    auto* probe = new ProbePanel(config, std::nullopt, nullptr, {}, this);
    connect(probe, &ProbePanel::probed, this, &ShowAppObj::probed);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(probe);
    FitAndCentreOnScreen(*this);
}

}  // namespace kv
