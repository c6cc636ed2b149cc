#include "ui/views/FitOnScreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace kv {

void FitAndCentreOnScreen(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    window.resize(window.sizeHint().boundedTo(area.size()));
    window.move(area.x() + (area.width() - window.width()) / 2,
                area.y() + (area.height() - window.height()) / 2);
}

}  // namespace kv
