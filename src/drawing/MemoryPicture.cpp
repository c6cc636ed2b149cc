#include "drawing/MemoryPicture.h"

#include <QPainter>
#include <algorithm>

#include "config/WorkingCopy.h"

namespace kv {
namespace {

constexpr int CellSize = 11;
constexpr int CellPitch = CellSize + 1;
constexpr int LabelEvery = 8;  // a column label every 8 addresses

QColor Blend(const QColor& colour, const QColor& with, double share) {
    return QColor::fromRgbF(float(colour.redF() * share + with.redF() * (1 - share)),
                            float(colour.greenF() * share + with.greenF() * (1 - share)),
                            float(colour.blueF() * share + with.blueF() * (1 - share)));
}

// The white cross of a shared address, `inset` from the square's corners.
void PaintCross(QPainter& painter, QRect square, int inset) {
    painter.setPen(QPen(Qt::white, 1.5));
    painter.drawLine(square.topLeft() + QPoint(inset, inset),
                     square.bottomRight() - QPoint(inset, inset));
    painter.drawLine(square.topRight() + QPoint(-inset, inset),
                     square.bottomLeft() + QPoint(inset, -inset));
}

}  // namespace

void MemoryPicture::SetLayout(const MemoryLayout& layout) {
    layout_ = layout;
    for (QList<int>& occupants : occupants_) occupants.clear();
    for (qsizetype i = 0; i < layout_.Ranges.size(); ++i) {
        const CommandRange& range = layout_.Ranges[i];
        const int first = std::max(range.First, 0);
        const int last = std::min(range.Last, InternalMemorySize - 1);
        for (int address = first; address <= last; ++address) occupants_[address].append(int(i));
    }
}

QColor MemoryPicture::ClassColour(int classIndex) {
    static const std::array<QColor, ClassIndexCount> colours = {
        QColor(0x2F, 0x6F, 0xDE), QColor(0x13, 0xA8, 0x9E), QColor(0xE0, 0x8A, 0x1E),
        QColor(0x8E, 0x5B, 0xD6), QColor(0x4C, 0x9A, 0x2A), QColor(0xC2, 0x47, 0x7F)};
    return colours[std::clamp(classIndex, 0, ClassIndexCount - 1)];
}

QColor MemoryPicture::SharedColour() { return QColor(0xD7, 0x26, 0x3D); }
QColor MemoryPicture::FreeColour() { return QColor(0xE3, 0xE7, 0xED); }

void MemoryPicture::PaintClassSwatch(QPainter& painter, QRect square, int classIndex) {
    painter.fillRect(square, ClassColour(classIndex));
}

void MemoryPicture::PaintSharedSwatch(QPainter& painter, QRect square) {
    painter.fillRect(square, SharedColour());
    PaintCross(painter, square, 3);
}

void MemoryPicture::PaintNotInUseSwatch(QPainter& painter, QRect square) {
    painter.fillRect(square, Qt::white);
    painter.fillRect(square, QBrush(QColor(0x6B, 0x72, 0x80), Qt::BDiagPattern));
}

QSize MemoryPicture::LabelMargins() const {
    const QFontMetrics metrics(labelFont_);
    return {metrics.horizontalAdvance(QStringLiteral("2047")) + 8, metrics.height() + 4};
}

void MemoryPicture::ShowRows(int first, int last) {
    firstRow_ = std::clamp(first, 0, Rows - 1);
    lastRow_ = std::clamp(last, firstRow_, Rows - 1);
}

QSize MemoryPicture::Size() const {
    const QSize margins = LabelMargins();
    const int rows = lastRow_ - firstRow_ + 1;
    return {margins.width() + Columns * CellPitch + 2, margins.height() + rows * CellPitch + 2};
}

QRect MemoryPicture::CellRect(int address) const {
    const QSize margins = LabelMargins();
    return {margins.width() + (address % Columns) * CellPitch + 1,
            margins.height() + (address / Columns - firstRow_) * CellPitch + 1, CellSize, CellSize};
}

int MemoryPicture::AddressAt(QPoint point) const {
    const QSize margins = LabelMargins();
    const int column = (point.x() - margins.width() - 1) / CellPitch;
    const int row = (point.y() - margins.height() - 1) / CellPitch;
    const bool inside = point.x() > margins.width() && point.y() > margins.height() &&
                        column < Columns && row <= lastRow_ - firstRow_;
    return inside ? (firstRow_ + row) * Columns + column : -1;
}

void MemoryPicture::Paint(QPainter& painter, const QColor& labelColour, const QColor& base) const {
    painter.setPen(labelColour);
    PaintLabels(painter);
    const int first = firstRow_ * Columns;
    const int end = (lastRow_ + 1) * Columns;
    const QRect cells = CellRect(first).united(CellRect(end - 1)).adjusted(-1, -1, 1, 1);
    painter.fillRect(cells, base);
    for (int address = first; address < end; ++address) PaintCell(painter, address);
}

void MemoryPicture::PaintLabels(QPainter& painter) const {
    painter.setFont(labelFont_);
    const QSize margins = LabelMargins();
    for (int row = firstRow_; row <= lastRow_; ++row) {
        const QRect cell = CellRect(row * Columns);
        painter.drawText(QRect(0, cell.y() - 2, margins.width() - 6, cell.height() + 4),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(row * Columns));
    }
    for (int column = 0; column < Columns; column += LabelEvery) {
        const QRect cell = CellRect(firstRow_ * Columns + column);
        painter.drawText(QRect(cell.x(), 0, CellPitch * LabelEvery, margins.height() - 2),
                         Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("+%1").arg(column));
    }
}

void MemoryPicture::PaintCell(QPainter& painter, int address) const {
    const QRect cell = CellRect(address);
    const QList<int>& occupants = occupants_[address];
    if (occupants.isEmpty()) {
        painter.fillRect(cell, FreeColour());
        return;
    }
    if (occupants.size() > 1) {
        painter.fillRect(cell, SharedColour());
        PaintCross(painter, cell, 2);
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

void MemoryPicture::PaintOutline(QPainter& painter, int first, int last,
                                 const QColor& colour) const {
    painter.setPen(QPen(colour, 2));
    painter.setBrush(Qt::NoBrush);
    for (int address = std::max(first, 0); address <= std::min(last, InternalMemorySize - 1);
         ++address)
        painter.drawRect(CellRect(address).adjusted(-1, -1, 1, 1));
}

namespace {

constexpr int SwatchSize = 12;
constexpr int LegendPerRow = 4;
constexpr int LegendColumnWidth = 190;
constexpr int LegendRowHeight = 20;

// The legend below the picture, as the Memory Map window lays it out: four entries a row.
void PaintLegend(QPainter& painter, QPoint topLeft) {
    painter.setPen(Qt::black);
    const auto entry = [&](int position, const QString& text, const auto& paintSwatch) {
        const QPoint at = topLeft + QPoint(position % LegendPerRow * LegendColumnWidth,
                                           position / LegendPerRow * LegendRowHeight);
        const QRect square(at, QSize(SwatchSize, SwatchSize));
        paintSwatch(square);
        painter.setPen(Qt::black);
        painter.drawText(QRect(at + QPoint(SwatchSize + 6, -4), QSize(LegendColumnWidth, 20)),
                         Qt::AlignLeft | Qt::AlignVCenter, text);
    };
    for (int classIndex = 0; classIndex < ClassIndexCount; ++classIndex)
        entry(classIndex, ClassCaption(classIndex),
              [&](QRect square) { MemoryPicture::PaintClassSwatch(painter, square, classIndex); });
    entry(ClassIndexCount, QStringLiteral("Shared"),
          [&](QRect square) { MemoryPicture::PaintSharedSwatch(painter, square); });
    entry(ClassIndexCount + 1, QStringLiteral("Class not in use"),
          [&](QRect square) { MemoryPicture::PaintNotInUseSwatch(painter, square); });
}

}  // namespace

QImage MemoryMapImage(const MemoryLayout& layout, const QFont& font, qreal scale) {
    MemoryPicture picture;
    picture.SetLayout(layout);
    int first = MemoryPicture::Rows - 1;
    int last = 0;
    for (const CommandRange& range : layout.Ranges) {
        first = std::min(first, std::max(range.First, 0) / MemoryPicture::Columns);
        last =
            std::max(last, std::min(range.Last, InternalMemorySize - 1) / MemoryPicture::Columns);
    }
    picture.ShowRows(layout.Ranges.isEmpty() ? 0 : first, last);
    QFont labelFont = font;
    labelFont.setPointSizeF(font.pointSizeF() * 0.85);
    picture.SetLabelFont(labelFont);
    const int legendRows = (ClassIndexCount + 2 + LegendPerRow - 1) / LegendPerRow;
    const QSize size = picture.Size() + QSize(0, 12 + legendRows * LegendRowHeight);
    QImage image((QSizeF(size) * scale).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    picture.Paint(painter, QColor(0x5F, 0x6B, 0x77), Qt::white);
    painter.setFont(font);
    PaintLegend(painter, QPoint(picture.CellRect(0).x(), picture.Size().height() + 12));
    return image;
}

}  // namespace kv
