#include "ui/views/GridTable.h"

#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace kv {
namespace {

// Room beside a heading's text inside its column.
constexpr int HeadingPadding = 20;
// The table shows up to this many rows before it scrolls, and never fewer than the least.
constexpr int MostVisibleRows = 12;
constexpr int LeastVisibleRows = 3;

QString HeadingText(const ViewGrid& grid, int column) {
    QStringList lines;
    for (int row = 0; row < grid.HeadingRows; ++row)
        if (!grid.Rows[row][column].isEmpty()) lines << grid.Rows[row][column];
    return lines.join(u'\n');
}

int WidestLine(const QFontMetrics& metrics, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split(u'\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

}  // namespace

GridTable::GridTable(const QString& objectName, const QString& accessibleName, const ViewGrid& grid,
                     QWidget* parent)
    : QTableWidget(int(grid.Rows.size()) - grid.HeadingRows, grid.ColumnCount(), parent) {
    setObjectName(objectName);
    setAccessibleName(accessibleName);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAlternatingRowColors(false);
    setWordWrap(false);
    verticalHeader()->setVisible(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setHighlightSections(false);
    // No wider than its columns: a narrower grid beside a wider one shows no blank cells.
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Expanding);
    FillHeadings(grid);
    FillRows(grid);
    SetColumnWidths(grid);
}

void GridTable::FillHeadings(const ViewGrid& grid) {
    QStringList headings;
    for (int column = 0; column < grid.ColumnCount(); ++column)
        headings << HeadingText(grid, column);
    setHorizontalHeaderLabels(headings);
}

void GridTable::FillRows(const ViewGrid& grid) {
    for (int row = grid.HeadingRows; row < grid.Rows.size(); ++row) {
        for (int column = 0; column < grid.ColumnCount(); ++column) {
            auto* item = new QTableWidgetItem(grid.Rows[row][column]);
            item->setTextAlignment(Qt::AlignCenter);
            setItem(row - grid.HeadingRows, column, item);
        }
    }
}

// Column 0 is as wide as it must be for every heading to fit at its column's factor;
// the other columns follow from their factors, rounded to whole pixels.
void GridTable::SetColumnWidths(const ViewGrid& grid) {
    const QFontMetrics metrics = horizontalHeader()->fontMetrics();
    double firstColumn = 0;
    for (int column = 0; column < grid.ColumnCount(); ++column) {
        const int needed = WidestLine(metrics, HeadingText(grid, column)) + HeadingPadding;
        firstColumn = std::max(firstColumn, needed / grid.WidthFactors[column]);
    }
    const int designedWidth = int(std::ceil(firstColumn));
    for (int column = 0; column < grid.ColumnCount(); ++column)
        setColumnWidth(column, int(std::lround(designedWidth * grid.WidthFactors[column])));
}

QSize GridTable::sizeHint() const {
    int width = 2 * frameWidth();
    if (rowCount() > MostVisibleRows) width += verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < columnCount(); ++column) width += columnWidth(column);
    const int rows = std::clamp(rowCount(), LeastVisibleRows, MostVisibleRows);
    const int height = 2 * frameWidth() + horizontalHeader()->sizeHint().height() +
                       rows * verticalHeader()->defaultSectionSize();
    return {width, height};
}

}  // namespace kv
