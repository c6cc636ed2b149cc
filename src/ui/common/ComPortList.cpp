#include "ui/common/ComPortList.h"

#include <QComboBox>

#include "platform/PortNaming.h"

namespace kv {

void FillComPortList(QComboBox* list) {
    for (int number = 1; number <= ComPortCount; ++number)
        list->addItem(QStringLiteral("COM %1").arg(number), number);
    list->setCurrentIndex(0);
    RefreshComPortToolTips(list);
    QObject::connect(list, &QComboBox::currentIndexChanged, list, [list](int index) {
        list->setToolTip(list->itemData(index, Qt::ToolTipRole).toString());
    });
}

void RefreshComPortToolTips(QComboBox* list) {
    for (const ComPortEntry& entry : ListComPorts()) {
        const int index = entry.Number - 1;
        if (index < 0 || index >= list->count()) continue;
        QString tip = entry.Device.isEmpty()
                          ? QStringLiteral("No device is present behind COM %1").arg(entry.Number)
                          : entry.Device;
        if (!entry.Description.isEmpty()) tip += QStringLiteral(" (%1)").arg(entry.Description);
        if (entry.Source != ComSource::None)
            tip += QStringLiteral(" - ") + ComSourceText(entry.Source);
        list->setItemData(index, tip, Qt::ToolTipRole);
    }
    list->setToolTip(list->currentData(Qt::ToolTipRole).toString());
}

}  // namespace kv
