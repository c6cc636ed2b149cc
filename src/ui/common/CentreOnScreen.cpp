#include "ui/common/CentreOnScreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace kv {
namespace {

const QScreen* ScreenOf(const QWidget& window) {
    return window.screen() ? window.screen() : QGuiApplication::primaryScreen();
}

}  // namespace

void CentreOnScreen(QWidget& window) {
    if (const QScreen* screen = ScreenOf(window))
        window.move(screen->availableGeometry().center() - window.rect().center());
}

void FitAndCentreOnScreen(QWidget& window) {
    const QScreen* screen = ScreenOf(window);
    if (!screen) return;
    window.resize(window.sizeHint().boundedTo(screen->availableGeometry().size()));
    CentreOnScreen(window);
}

}  // namespace kv
