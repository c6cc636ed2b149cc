#include "ui/main/PanelToggle.h"

#include <QLabel>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QVBoxLayout>

#include "ui/main/PanelToggleAccessible.h"

namespace kv {
namespace {

constexpr int Border = 5;
constexpr qreal Radius = 8;

}  // namespace

PanelToggle::PanelToggle(QWidget* parent) : QAbstractButton(parent) {
    InstallPanelToggleAccessible();
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(Border, Border, Border, Border);
}

void PanelToggle::SetPicture(QLabel* picture) {
    picture->setAttribute(Qt::WA_TransparentForMouseEvents);
    picture->setAlignment(Qt::AlignCenter);
    layout()->addWidget(picture);
}

void PanelToggle::SetBackgroundColour(const QColor& colour) {
    background_ = colour;
    update();
}

QSize PanelToggle::sizeHint() const { return {96, 80}; }

void PanelToggle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outer = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(background_.darker(isDown() ? 160 : 125), 1));
    painter.setBrush(background_);
    painter.drawRoundedRect(outer, Radius, Radius);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::Base));
    const QRectF inner = outer.adjusted(Border - 1, Border - 1, -(Border - 1), -(Border - 1));
    painter.drawRoundedRect(inner, Radius - 3, Radius - 3);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(inner.adjusted(2, 2, -2, -2), Radius - 4, Radius - 4);
    }
}

}  // namespace kv
