#include "ui/views/FitOnScreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "ui/common/CentreOnScreen.h"

namespace kv {

void FitAndCentreOnScreen(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    window.resize(window.sizeHint().boundedTo(area.size()));
    CentreOnScreen(window);
}

}  // namespace kv
