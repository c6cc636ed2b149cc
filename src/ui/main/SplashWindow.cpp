#include "ui/main/SplashWindow.h"

#include <QEventLoop>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/common/CentreOnScreen.h"
#include "ui/main/Pictures.h"

namespace kv {

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName("Splash");
    // Closing the splash before the main window exists must not end the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle("KV-9052R Utility");
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet("#Splash { background: #0f1f33; } #ReleaseVersion { color: #cfe2ff; }");
    auto* picture = PictureLabel(SplashPicture, {480, 270});
    picture->setObjectName("SplashImage");
    auto* version = new QLabel("Release version: v1.3");
    version->setObjectName("ReleaseVersion");
    version->setAlignment(Qt::AlignRight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 10);
    layout->setSpacing(6);
    layout->addWidget(picture);
    layout->addWidget(version);
    version->setContentsMargins(0, 0, 14, 0);
}

void SplashWindow::ShowFor(std::chrono::milliseconds length) {
    adjustSize();
    CentreOnScreen(*this);
    show();
    // A local event loop: the splash repaints while it waits, and the wait ends on a
    // monotonic timer, so midnight or a clock change does not stretch it.
    QEventLoop wait;
    QTimer::singleShot(length, &wait, &QEventLoop::quit);
    wait.exec();
    close();
}

}  // namespace kv
