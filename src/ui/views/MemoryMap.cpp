#include "ui/views/MemoryMap.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>

#include "config/WorkingCopy.h"
#include "ui/common/CentreOnScreen.h"
#include "ui/views/MemoryGrid.h"

namespace kv {
namespace {

constexpr int SwatchSize = 14;

// A small square of the legend, drawn as the grid draws its cells.
QPixmap Swatch(const QWidget& widget, const std::function<void(QPainter&, QRect)>& paint) {
    const qreal ratio = widget.devicePixelRatioF();
    QPixmap pixmap(QSize(SwatchSize, SwatchSize) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter, QRect(0, 0, SwatchSize, SwatchSize));
    return pixmap;
}

QWidget* LegendEntry(const QPixmap& swatch, const QString& text) {
    auto* entry = new QWidget;
    auto* layout = new QHBoxLayout(entry);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    auto* box = new QLabel;
    box->setPixmap(swatch);
    layout->addWidget(box);
    layout->addWidget(new QLabel(text), 1);
    return entry;
}

}  // namespace

MemoryMap::MemoryMap(const GatewayConfig& config, QWidget* parent)
    : QWidget(parent), config_(config) {
    setObjectName(QStringLiteral("MemoryMap"));
    setWindowTitle(QStringLiteral("Memory Map"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* memory = new QGroupBox(QStringLiteral("Internal memory (0-2047)"));
    auto* memoryLayout = new QVBoxLayout(memory);
    memoryLayout->setSpacing(10);
    grid_ = new MemoryGrid;
    cursorText_ = new QLabel;
    cursorText_->setObjectName(QStringLiteral("CursorText"));
    cursorText_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cursorText_->setWordWrap(true);
    memoryLayout->addWidget(grid_);
    memoryLayout->addWidget(cursorText_);
    memoryLayout->addWidget(MakeLegend());
    connect(grid_, &MemoryGrid::cursorMoved, this,
            [this](int address) { cursorText_->setText(grid_->AddressText(address)); });

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(12);
    layout->addWidget(memory, 0, Qt::AlignTop);
    layout->addWidget(MakeOverlapPanel(), 1);

    followTimer_ = new QTimer(this);
    followTimer_->setInterval(FollowIntervalMs);
    connect(followTimer_, &QTimer::timeout, this, &MemoryMap::RefreshWhenChanged);

    Refresh();
    FitAndCentreOnScreen(*this);
}

QWidget* MemoryMap::MakeLegend() {
    auto* legend = new QWidget;
    legend->setAccessibleName(QStringLiteral("Legend"));
    auto* layout = new QGridLayout(legend);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(16);
    layout->setVerticalSpacing(4);
    const int perRow = 4;
    int position = 0;
    const auto add = [&](const QPixmap& swatch, const QString& text) {
        layout->addWidget(LegendEntry(swatch, text), position / perRow, position % perRow);
        ++position;
    };
    for (int classIndex = 0; classIndex < ClassIndexCount; ++classIndex)
        add(Swatch(*this,
                   [classIndex](QPainter& p, QRect r) {
                       MemoryPicture::PaintClassSwatch(p, r, classIndex);
                   }),
            ClassCaption(classIndex));
    add(Swatch(*this, &MemoryPicture::PaintSharedSwatch), QStringLiteral("Shared"));
    add(Swatch(*this, &MemoryPicture::PaintNotInUseSwatch), QStringLiteral("Class not in use"));
    return legend;
}

QWidget* MemoryMap::MakeOverlapPanel() {
    auto* panel = new QGroupBox(QStringLiteral("Shared addresses"));
    auto* layout = new QVBoxLayout(panel);
    auto* caption = new QLabel(QStringLiteral("&Overlaps:"));
    overlapList_ = new QListWidget;
    overlapList_->setObjectName(QStringLiteral("OverlapList"));
    overlapList_->setAccessibleName(QStringLiteral("Overlaps"));
    overlapList_->setWordWrap(true);
    overlapList_->setMinimumWidth(fontMetrics().averageCharWidth() * 44);
    caption->setBuddy(overlapList_);
    noOverlaps_ = new QLabel(QStringLiteral("No two commands share an address."));
    noOverlaps_->setObjectName(QStringLiteral("NoOverlaps"));
    noOverlaps_->setWordWrap(true);
    layout->addWidget(caption);
    layout->addWidget(noOverlaps_);
    layout->addWidget(overlapList_, 1);
    connect(overlapList_, &QListWidget::currentRowChanged, this, &MemoryMap::ShowChosenOverlap);
    return panel;
}

void MemoryMap::Refresh() {
    drawnSerial_ = config_.EditSerialClasses;
    drawnTcp_ = config_.EditTcpClasses;
    layout_ = FindMemoryLayout(config_);
    grid_->SetLayout(layout_);
    grid_->SetHighlight(-1, -1);
    cursorText_->setText(grid_->AddressText(grid_->Cursor()));

    const QSignalBlocker quiet(overlapList_);
    overlapList_->clear();
    for (const MemoryOverlap& overlap : layout_.Overlaps)
        overlapList_->addItem(OverlapText(overlap));
    noOverlaps_->setVisible(layout_.Overlaps.isEmpty());
}

void MemoryMap::showEvent(QShowEvent* event) {
    Refresh();
    followTimer_->start();
    QWidget::showEvent(event);
}

// A hidden map has nothing to follow; showing it again draws the copy as it is then.
void MemoryMap::hideEvent(QHideEvent* event) {
    followTimer_->stop();
    QWidget::hideEvent(event);
}

void MemoryMap::RefreshWhenChanged() {
    if (config_.EditSerialClasses != drawnSerial_ || config_.EditTcpClasses != drawnTcp_) Refresh();
}

void MemoryMap::ShowChosenOverlap() {
    const int row = overlapList_->currentRow();
    if (row < 0 || row >= layout_.Overlaps.size()) {
        grid_->SetHighlight(-1, -1);
        return;
    }
    grid_->SetHighlight(layout_.Overlaps[row].First, layout_.Overlaps[row].Last);
}

}  // namespace kv
