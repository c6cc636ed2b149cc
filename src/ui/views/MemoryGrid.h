#pragma once
// The gateway's internal memory 0..2047 as a grid of 64 addresses a row: each command's
// addresses in the colour of its class (hatched when the class is not in use), addresses
// two or more commands share in red with a white cross. The arrow keys move a cursor over
// the addresses; the tool tip and the cursor text name what lies at an address.

#include <QColor>
#include <QList>
#include <QWidget>
#include <array>

#include "config/MemoryOverlaps.h"

namespace kv {

class MemoryGrid : public QWidget {
    Q_OBJECT

public:
    static constexpr int Columns = 64;
    static constexpr int Rows = InternalMemorySize / Columns;

    explicit MemoryGrid(QWidget* parent = nullptr);

    void SetLayout(const MemoryLayout& layout);
    // Outlines the addresses first..last (an overlap chosen in the list); -1 for none.
    void SetHighlight(int first, int last);

    // The commands that occupy `address`, as indexes into the layout's Ranges.
    const QList<int>& CommandsAt(int address) const { return occupants_[address]; }
    bool IsShared(int address) const { return occupants_[address].size() > 1; }
    // "Address 110, shared: COM1 instance 2 at 100..115, Server 01 instance 1 at 110..120"
    QString AddressText(int address) const;
    int Cursor() const { return cursor_; }

    static QColor ClassColour(int classIndex);
    static QColor SharedColour();
    static QColor FreeColour();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

Q_SIGNALS:
    void cursorMoved(int address);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRect CellRect(int address) const;
    int AddressAt(QPoint point) const;  // -1 outside the cells
    void PaintCell(QPainter& painter, int address) const;
    void PaintLabels(QPainter& painter) const;
    void PaintOutline(QPainter& painter, int first, int last, const QColor& colour) const;
    void MoveCursor(int address);

    MemoryLayout layout_;
    std::array<QList<int>, InternalMemorySize> occupants_{};
    int cursor_ = 0;
    int highlightFirst_ = -1;
    int highlightLast_ = -1;
};

}  // namespace kv
