#pragma once
// A two-state toggle with a background colour and a picture: the main window's panel
// switches. The window paints it red when its panel is selected and grey otherwise.

#include <QAbstractButton>
#include <QColor>

class QLabel;

namespace kv {

class PanelToggle : public QAbstractButton {
    Q_OBJECT

public:
    explicit PanelToggle(QWidget* parent = nullptr);

    // The picture shown on the toggle; the window shows and hides it on its own.
    void SetPicture(QLabel* picture);

    void SetBackgroundColour(const QColor& colour);
    QColor BackgroundColour() const { return background_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor background_{192, 192, 192};
};

}  // namespace kv
