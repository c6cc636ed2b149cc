#include "ui/common/ComPortList.h"

#include <QComboBox>
#include <QLabel>
#include <algorithm>

#include "platform/PortNaming.h"

namespace kv {
namespace {

// "COM n" never breaks between its two words where the text wraps.
QString DeviceText(const ComPortEntry& entry) {
    QString text = entry.Device.isEmpty()
                       ? QStringLiteral("No device is present behind COM\u00a0%1").arg(entry.Number)
                       : entry.Device;
    if (!entry.Description.isEmpty()) text += QStringLiteral(" (%1)").arg(entry.Description);
    if (entry.Source != ComSource::None)
        text += QStringLiteral(" - ") + ComSourceText(entry.Source);
    return text;
}

QString ChosenDeviceText(const QComboBox* list) {
    return list->currentData(Qt::ToolTipRole).toString();
}

// Tells each entry's device in its tool tip; returns the index of the first entry with a
// device behind it, 0 when none has one.
int DescribeEntries(QComboBox* list) {
    int firstWithDevice = -1;
    for (const ComPortEntry& entry : ListComPorts()) {
        const int index = entry.Number - 1;
        if (index < 0 || index >= list->count()) continue;
        list->setItemData(index, DeviceText(entry), Qt::ToolTipRole);
        if (firstWithDevice < 0 && !entry.Device.isEmpty()) firstWithDevice = index;
    }
    return std::max(firstWithDevice, 0);
}

}  // namespace

void FillComPortList(QComboBox* list) {
    for (int number = 1; number <= ComPortCount; ++number)
        list->addItem(QStringLiteral("COM %1").arg(number), number);
    list->setCurrentIndex(DescribeEntries(list));
    list->setToolTip(ChosenDeviceText(list));
    QObject::connect(list, &QComboBox::currentIndexChanged, list,
                     [list] { list->setToolTip(ChosenDeviceText(list)); });
}

void RefreshComPortToolTips(QComboBox* list) {
    DescribeEntries(list);
    list->setToolTip(ChosenDeviceText(list));
}

QLabel* MakeComDeviceLabel(QComboBox* list) {
    auto* label = new QLabel(ChosenDeviceText(list));
    label->setObjectName(QStringLiteral("ComPortDevice"));
    label->setAccessibleName(QStringLiteral("Device behind the port"));
    // Room for two lines from the start, so that the window keeps its size as they change.
    label->setWordWrap(true);
    label->setMinimumHeight(2 * label->fontMetrics().lineSpacing());
    const auto follow = [list, label] { label->setText(ChosenDeviceText(list)); };
    QObject::connect(list, &QComboBox::currentIndexChanged, label, follow);
    QObject::connect(list->model(), &QAbstractItemModel::dataChanged, label, follow);
    return label;
}

}  // namespace kv
