// kv9052r-utility: the splash, then the main window on the PC's serial ports.

#include <QApplication>
#include <QIcon>
#include <chrono>

#include "config/GatewayConfig.h"
#include "session/SerialDevices.h"
#include "ui/common/QtDialogs.h"
#include "ui/common/Session.h"
#include "ui/main/AppWindows.h"
#include "ui/main/Pictures.h"
#include "ui/main/SplashWindow.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("kv9052r-utility");
    QApplication::setApplicationVersion(KV_VERSION);
    QApplication::setDesktopFileName("kv9052r-utility");
    kv::LoadPictures();
    QApplication::setWindowIcon(QIcon(kv::AppIconPicture));
    QApplication::setStyle("Fusion");

    {
        using namespace std::chrono_literals;
        kv::SplashWindow splash;
        splash.ShowFor(1s);
    }

    kv::GatewayConfig config;
    kv::GatewaySession gateway(kv::MakeSerialDevices);
    kv::QtDialogs dialogs;
    kv::Session session{config, gateway, dialogs};
    kv::AppWindows windows(session);
    windows.ShowMain();
    return QApplication::exec();
}
