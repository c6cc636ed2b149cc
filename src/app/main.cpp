// kv9052r-utility: the splash, then the main window on the PC's serial ports.

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <chrono>
#include <cstdio>

#include "config/GatewayConfig.h"
#include "save/BackupBeforeWrite.h"
#include "session/SerialDevices.h"
#include "ui/common/QtDialogs.h"
#include "ui/common/Session.h"
#include "ui/main/AppWindows.h"
#include "ui/main/Pictures.h"
#include "ui/main/SplashWindow.h"

namespace {

constexpr int ExitUsage = 2;

const char* const UsageLine = "Usage: kv9052r-utility [options] [FILE.json]";

// The program's own options; Qt's (-platform, -style, ...) are taken by QApplication.
void AddOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Configures KV-9052R gateways in windows; kv9052r-cli does the same "
                       "without them."));
    parser.addOption({{"h", "help"}, QStringLiteral("This text.")});
    parser.addOption({{"V", "version"}, QStringLiteral("The program's version.")});
    parser.addPositionalArgument(QStringLiteral("FILE.json"),
                                 QStringLiteral("A configuration file to open."),
                                 QStringLiteral("[FILE.json]"));
}

QStringList ArgumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// --help and --version, answered before there is an application object, so that they
// need no display. Returns -1 when the program is to go on.
int AnswerWithoutDisplay(const QStringList& arguments) {
    QCommandLineParser parser;
    AddOptions(parser);
    parser.parse(arguments);  // Qt's own options are unknown here; they are checked later
    if (parser.isSet(QStringLiteral("help"))) {
        QString text = parser.helpText();
        text.replace(0, text.indexOf(u'\n'), QLatin1String(UsageLine));
        std::fputs(qPrintable(text), stdout);
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("kv9052r-utility %s\n", KV_VERSION);
        return 0;
    }
    const bool platformChosen = arguments.contains(QStringLiteral("-platform")) ||
                                qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
    if (!platformChosen && !qEnvironmentVariableIsSet("DISPLAY") &&
        !qEnvironmentVariableIsSet("WAYLAND_DISPLAY")) {
        std::fputs(
            "kv9052r-utility: there is no display to show windows on (neither DISPLAY nor "
            "WAYLAND_DISPLAY is set); kv9052r-cli does the same work without windows.\n",
            stderr);
        return ExitUsage;
    }
    return -1;
}

}  // namespace

int main(int argc, char* argv[]) {
    const int answered = AnswerWithoutDisplay(ArgumentsOf(argc, argv));
    if (answered >= 0) return answered;

    QApplication app(argc, argv);
    QApplication::setApplicationName("kv9052r-utility");
    QApplication::setApplicationVersion(KV_VERSION);
    QApplication::setDesktopFileName("kv9052r-utility");
    // What is left once QApplication took its own options must be ours: at most one file.
    QCommandLineParser parser;
    AddOptions(parser);
    if (!parser.parse(QApplication::arguments()) || parser.positionalArguments().size() > 1) {
        const QString problem =
            parser.errorText().isEmpty()
                ? "unexpected argument '" + parser.positionalArguments().at(1) + "'"
                : parser.errorText();
        std::fprintf(stderr, "kv9052r-utility: %s\n%s\n", qPrintable(problem), UsageLine);
        return ExitUsage;
    }
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
    session.BackupFolder = kv::DefaultBackupFolder();
    kv::AppWindows windows(session);
    windows.ShowMain();
    if (!parser.positionalArguments().isEmpty())
        windows.OpenConfiguration(parser.positionalArguments().first());
    return QApplication::exec();
}
