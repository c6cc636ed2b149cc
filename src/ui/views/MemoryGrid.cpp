#include "ui/views/MemoryGrid.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include "config/WorkingCopy.h"

namespace kv {
namespace {

constexpr int CellSize = 11;
constexpr int CellPitch = CellSize + 1;
constexpr int LabelEvery = 8;  // a column label every 8 addresses
constexpr int PageRows = 8;

// Row labels on the left, column labels on top, both in the widget's small font.
QFont LabelFont(const QWidget& widget) {
    QFont font = widget.font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    return font;
}

QSize LabelMargins(const QWidget& widget) {
    const QFontMetrics metrics(LabelFont(widget));
    return {metrics.horizontalAdvance(QStringLiteral("2047")) + 8, metrics.height() + 4};
}

QColor Blend(const QColor& colour, const QColor& with, double share) {
    return QColor::fromRgbF(float(colour.redF() * share + with.redF() * (1 - share)),
                            float(colour.greenF() * share + with.greenF() * (1 - share)),
                            float(colour.blueF() * share + with.blueF() * (1 - share)));
}

}  // namespace

MemoryGrid::MemoryGrid(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("MemoryGrid"));
    setAccessibleName(QStringLiteral("Internal memory 0 to 2047"));
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

QColor MemoryGrid::ClassColour(int classIndex) {
    static const std::array<QColor, ClassIndexCount> colours = {
        QColor(0x2F, 0x6F, 0xDE), QColor(0x13, 0xA8, 0x9E), QColor(0xE0, 0x8A, 0x1E),
        QColor(0x8E, 0x5B, 0xD6), QColor(0x4C, 0x9A, 0x2A), QColor(0xC2, 0x47, 0x7F)};
    return colours[std::clamp(classIndex, 0, ClassIndexCount - 1)];
}

QColor MemoryGrid::SharedColour() { return QColor(0xD7, 0x26, 0x3D); }
QColor MemoryGrid::FreeColour() { return QColor(0xE3, 0xE7, 0xED); }

void MemoryGrid::SetLayout(const MemoryLayout& layout) {
    layout_ = layout;
    for (QList<int>& occupants : occupants_) occupants.clear();
    for (qsizetype i = 0; i < layout_.Ranges.size(); ++i) {
        const CommandRange& range = layout_.Ranges[i];
        const int first = std::max(range.First, 0);
        const int last = std::min(range.Last, InternalMemorySize - 1);
        for (int address = first; address <= last; ++address) occupants_[address].append(int(i));
    }
    setAccessibleDescription(AddressText(cursor_));
    update();
}

void MemoryGrid::SetHighlight(int first, int last) {
    highlightFirst_ = first;
    highlightLast_ = last;
    if (first >= 0) MoveCursor(first);
    update();
}

QString MemoryGrid::AddressText(int address) const {
    const QList<int>& occupants = occupants_[address];
    if (occupants.isEmpty()) return QStringLiteral("Address %1: free").arg(address);
    QStringList names;
    for (int index : occupants) {
        const CommandRange& range = layout_.Ranges[index];
        names << QStringLiteral("%1 at %2")
                     .arg(CommandName(range), AddressRangeText(range.First, range.Last));
    }
    return QStringLiteral("Address %1%2: %3")
        .arg(address)
        .arg(occupants.size() > 1 ? QStringLiteral(", shared") : QString())
        .arg(names.join(QStringLiteral(", ")));
}

QSize MemoryGrid::sizeHint() const {
    const QSize margins = LabelMargins(*this);
    return {margins.width() + Columns * CellPitch + 2, margins.height() + Rows * CellPitch + 2};
}

QRect MemoryGrid::CellRect(int address) const {
    const QSize margins = LabelMargins(*this);
    return {margins.width() + (address % Columns) * CellPitch + 1,
            margins.height() + (address / Columns) * CellPitch + 1, CellSize, CellSize};
}

int MemoryGrid::AddressAt(QPoint point) const {
    const QSize margins = LabelMargins(*this);
    const int column = (point.x() - margins.width() - 1) / CellPitch;
    const int row = (point.y() - margins.height() - 1) / CellPitch;
    const bool inside = point.x() > margins.width() && point.y() > margins.height() &&
                        column < Columns && row < Rows;
    return inside ? row * Columns + column : -1;
}

void MemoryGrid::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintLabels(painter);
    const QRect cells = CellRect(0).united(CellRect(InternalMemorySize - 1)).adjusted(-1, -1, 1, 1);
    painter.fillRect(cells, palette().color(QPalette::Base));
    for (int address = 0; address < InternalMemorySize; ++address) PaintCell(painter, address);
    if (highlightFirst_ >= 0)
        PaintOutline(painter, highlightFirst_, highlightLast_, palette().color(QPalette::Text));
    if (hasFocus()) PaintOutline(painter, cursor_, cursor_, palette().color(QPalette::Highlight));
}

void MemoryGrid::PaintLabels(QPainter& painter) const {
    painter.setFont(LabelFont(*this));
    painter.setPen(palette().color(QPalette::PlaceholderText));
    const QSize margins = LabelMargins(*this);
    for (int row = 0; row < Rows; ++row) {
        const QRect cell = CellRect(row * Columns);
        painter.drawText(QRect(0, cell.y() - 2, margins.width() - 6, cell.height() + 4),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(row * Columns));
    }
    for (int column = 0; column < Columns; column += LabelEvery) {
        const QRect cell = CellRect(column);
        painter.drawText(QRect(cell.x(), 0, CellPitch * LabelEvery, margins.height() - 2),
                         Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("+%1").arg(column));
    }
}

void MemoryGrid::PaintCell(QPainter& painter, int address) const {
    const QRect cell = CellRect(address);
    const QList<int>& occupants = occupants_[address];
    if (occupants.isEmpty()) {
        painter.fillRect(cell, FreeColour());
        return;
    }
    if (occupants.size() > 1) {
        painter.fillRect(cell, SharedColour());
        painter.setPen(QPen(Qt::white, 1.5));
        painter.drawLine(cell.topLeft() + QPoint(2, 2), cell.bottomRight() - QPoint(2, 2));
        painter.drawLine(cell.topRight() + QPoint(-2, 2), cell.bottomLeft() + QPoint(2, -2));
        return;
    }
    const CommandRange& range = layout_.Ranges[occupants.first()];
    const QColor colour = ClassColour(range.ClassIndex);
    if (range.ClassInUse) {
        painter.fillRect(cell, colour);
    } else {
        painter.fillRect(cell, Blend(colour, Qt::white, 0.3));
        painter.fillRect(cell, QBrush(colour, Qt::BDiagPattern));
    }
    if (address == range.First)  // where one command ends and the next begins
        painter.fillRect(QRect(cell.topLeft(), QSize(2, cell.height())), colour.darker(170));
}

void MemoryGrid::PaintOutline(QPainter& painter, int first, int last, const QColor& colour) const {
    painter.setPen(QPen(colour, 2));
    painter.setBrush(Qt::NoBrush);
    for (int address = std::max(first, 0); address <= std::min(last, InternalMemorySize - 1);
         ++address)
        painter.drawRect(CellRect(address).adjusted(-1, -1, 1, 1));
}

bool MemoryGrid::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const int address = AddressAt(help->pos());
    if (address < 0) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), AddressText(address), this, CellRect(address));
    }
    return true;
}

void MemoryGrid::keyPressEvent(QKeyEvent* event) {
    const bool control = event->modifiers() & Qt::ControlModifier;
    const int rowStart = cursor_ - cursor_ % Columns;
    switch (event->key()) {
        case Qt::Key_Left:
            MoveCursor(cursor_ - 1);
            break;
        case Qt::Key_Right:
            MoveCursor(cursor_ + 1);
            break;
        case Qt::Key_Up:
            MoveCursor(cursor_ - Columns);
            break;
        case Qt::Key_Down:
            MoveCursor(cursor_ + Columns);
            break;
        case Qt::Key_PageUp:
            MoveCursor(cursor_ - PageRows * Columns);
            break;
        case Qt::Key_PageDown:
            MoveCursor(cursor_ + PageRows * Columns);
            break;
        case Qt::Key_Home:
            MoveCursor(control ? 0 : rowStart);
            break;
        case Qt::Key_End:
            MoveCursor(control ? InternalMemorySize - 1 : rowStart + Columns - 1);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
}

void MemoryGrid::mousePressEvent(QMouseEvent* event) {
    const int address = AddressAt(event->position().toPoint());
    if (address >= 0) MoveCursor(address);
    QWidget::mousePressEvent(event);
}

void MemoryGrid::MoveCursor(int address) {
    cursor_ = std::clamp(address, 0, InternalMemorySize - 1);
    setAccessibleDescription(AddressText(cursor_));
    update();
    Q_EMIT cursorMoved(cursor_);
}

}  // namespace kv
