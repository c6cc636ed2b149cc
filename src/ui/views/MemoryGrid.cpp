#include "ui/views/MemoryGrid.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

namespace kv {
namespace {

constexpr int PageRows = 8;

// Row labels on the left, column labels on top, both in the widget's small font.
QFont LabelFont(const QWidget& widget) {
    QFont font = widget.font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    return font;
}

}  // namespace

MemoryGrid::MemoryGrid(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("MemoryGrid"));
    setAccessibleName(QStringLiteral("Internal memory 0 to 2047"));
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    picture_.SetLabelFont(LabelFont(*this));
}

void MemoryGrid::SetLayout(const MemoryLayout& layout) {
    picture_.SetLayout(layout);
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
    const QList<int>& occupants = CommandsAt(address);
    if (occupants.isEmpty()) return QStringLiteral("Address %1: free").arg(address);
    QStringList names;
    for (int index : occupants) {
        const CommandRange& range = picture_.Layout().Ranges[index];
        names << QStringLiteral("%1 at %2")
                     .arg(CommandName(range), AddressRangeText(range.First, range.Last));
    }
    return QStringLiteral("Address %1%2: %3")
        .arg(address)
        .arg(occupants.size() > 1 ? QStringLiteral(", shared") : QString())
        .arg(names.join(QStringLiteral(", ")));
}

QSize MemoryGrid::sizeHint() const { return picture_.Size(); }

void MemoryGrid::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    picture_.Paint(painter, palette().color(QPalette::PlaceholderText),
                   palette().color(QPalette::Base));
    if (highlightFirst_ >= 0)
        picture_.PaintOutline(painter, highlightFirst_, highlightLast_,
                              palette().color(QPalette::Text));
    if (hasFocus())
        picture_.PaintOutline(painter, cursor_, cursor_, palette().color(QPalette::Highlight));
}

// The labels follow the widget's font, and the cells with them.
void MemoryGrid::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        picture_.SetLabelFont(LabelFont(*this));
        updateGeometry();
    }
    QWidget::changeEvent(event);
}

bool MemoryGrid::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const int address = picture_.AddressAt(help->pos());
    if (address < 0) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), AddressText(address), this,
                           picture_.CellRect(address));
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
    const int address = picture_.AddressAt(event->position().toPoint());
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
