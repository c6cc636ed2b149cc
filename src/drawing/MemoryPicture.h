#pragma once
// The gateway's internal memory 0..2047 drawn as a grid of 64 addresses a row: each
// command's addresses in the colour of its class (hatched when the class is not in use),
// addresses two or more commands share in red with a white cross. Only QPainter work, no
// widgets: the Memory Map window and the commissioning report draw the same picture.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QRect>
#include <array>

#include "config/MemoryOverlaps.h"

class QPainter;

namespace kv {

class MemoryPicture {
public:
    static constexpr int Columns = 64;
    static constexpr int Rows = InternalMemorySize / Columns;

    void SetLayout(const MemoryLayout& layout);
    const MemoryLayout& Layout() const { return layout_; }
    // The commands that occupy `address`, as indexes into the layout's Ranges.
    const QList<int>& CommandsAt(int address) const { return occupants_[address]; }

    // Only the rows first..last of the grid, as a page shows the used part; all by default.
    void ShowRows(int first, int last);
    // The row and column labels are drawn in this font; it sets the margins of the cells.
    void SetLabelFont(const QFont& font) { labelFont_ = font; }
    QSize Size() const;
    QRect CellRect(int address) const;  // of a shown address
    int AddressAt(QPoint point) const;  // -1 outside the cells

    // The labels in `labelColour` and every cell on a ground of `base`.
    void Paint(QPainter& painter, const QColor& labelColour, const QColor& base) const;
    // Outlines the addresses first..last.
    void PaintOutline(QPainter& painter, int first, int last, const QColor& colour) const;

    static QColor ClassColour(int classIndex);
    static QColor SharedColour();
    static QColor FreeColour();
    // The legend's squares, drawn as the cells are.
    static void PaintClassSwatch(QPainter& painter, QRect square, int classIndex);
    static void PaintSharedSwatch(QPainter& painter, QRect square);
    static void PaintNotInUseSwatch(QPainter& painter, QRect square);

private:
    QSize LabelMargins() const;
    void PaintLabels(QPainter& painter) const;
    void PaintCell(QPainter& painter, int address) const;

    MemoryLayout layout_;
    std::array<QList<int>, InternalMemorySize> occupants_{};
    QFont labelFont_;
    int firstRow_ = 0;
    int lastRow_ = Rows - 1;
};

// The picture of the rows the commands use (the first row when there is none) with its
// legend below on white, for a page: `scale` device pixels to a point of the picture, so
// that a printed page stays sharp.
QImage MemoryMapImage(const MemoryLayout& layout, const QFont& font, qreal scale);

}  // namespace kv
