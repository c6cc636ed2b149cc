#pragma once
// A read-only table that shows one grid of the views: the heading rows as the fixed column
// headings, every further row as it was worked out, each cell centred.

#include <QTableWidget>

#include "config/ViewRows.h"

namespace kv {

class GridTable : public QTableWidget {
    Q_OBJECT

public:
    GridTable(const QString& objectName, const QString& accessibleName, const ViewGrid& grid,
              QWidget* parent = nullptr);

    // Wide enough for every column without a horizontal scroll bar.
    QSize sizeHint() const override;

private:
    void FillHeadings(const ViewGrid& grid);
    void FillRows(const ViewGrid& grid);
    void SetColumnWidths(const ViewGrid& grid);
};

}  // namespace kv
