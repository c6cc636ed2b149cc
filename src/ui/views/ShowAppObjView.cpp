#include "ui/views/ShowAppObjView.h"

#include "config/ViewRows.h"
#include "ui/views/FitOnScreen.h"
#include "ui/views/GridTable.h"

#include <QGroupBox>
#include <QVBoxLayout>

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

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    FitAndCentreOnScreen(*this);
}

}  // namespace kv
