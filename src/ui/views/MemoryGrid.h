#pragma once
// The gateway's internal memory 0..2047 as MemoryPicture draws it, in a widget: the arrow
// keys move a cursor over the addresses; the tool tip and the cursor text name what lies at
// an address.

#include <QWidget>

#include "drawing/MemoryPicture.h"

namespace kv {

class MemoryGrid : public QWidget {
    Q_OBJECT

public:
    static constexpr int Columns = MemoryPicture::Columns;
    static constexpr int Rows = MemoryPicture::Rows;

    explicit MemoryGrid(QWidget* parent = nullptr);

    void SetLayout(const MemoryLayout& layout);
    // Outlines the addresses first..last (an overlap chosen in the list); -1 for none.
    void SetHighlight(int first, int last);

    // The commands that occupy `address`, as indexes into the layout's Ranges.
    const QList<int>& CommandsAt(int address) const { return picture_.CommandsAt(address); }
    bool IsShared(int address) const { return CommandsAt(address).size() > 1; }
    // "Address 110, shared: COM1 instance 2 at 100..115, Server 01 instance 1 at 110..120"
    QString AddressText(int address) const;
    int Cursor() const { return cursor_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

Q_SIGNALS:
    void cursorMoved(int address);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void MoveCursor(int address);

    MemoryPicture picture_;
    int cursor_ = 0;
    int highlightFirst_ = -1;
    int highlightLast_ = -1;
};

}  // namespace kv
