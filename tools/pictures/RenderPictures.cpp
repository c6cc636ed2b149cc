// Pictures of the windows for a person to look at (scripts/pictures), not a test: the main
// window before and after a read-out of the in-process virtual gateway, an editor tab, the
// save window before and after a verified save, the main window with a file loaded, the
// EEPROM copy window, the memory map and the Export Report fields, saved as PNG files into
// the folder given; and the commissioning report of the largest configuration as report.pdf, whose
// pages scripts/pictures turns into pictures.

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTabWidget>

#include "config/ConfigFile.h"
#include "gui/MainWindowHarness.h"
#include "report/ReportFile.h"
#include "sim/DemoImages.h"
#include "ui/appobj/IOAppObj.h"
#include "ui/backup/frmImpExpEEP.h"
#include "ui/main/ReportFieldsDialog.h"
#include "ui/save/EDSAndEEPSet.h"
#include "ui/views/MemoryMap.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) {
        qCritical("Usage: render_pictures FOLDER");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(folder.path());
    bool saved = true;
    const auto save = [&](QWidget& window, const char* name) {
        window.show();
        saved = window.grab().save(folder.filePath(QLatin1String(name) + ".png")) && saved;
    };
    kv::test::MainWindowHarness h;
    save(h.Window, "main-window-not-connected");
    h.Connect();
    save(h.Window, "main-window-connected");
    kv::MakeWorkingCopy(h.Config);
    kv::IOAppObj editor(h.Session);
    editor.findChild<QTabWidget*>("SSTab1")->setCurrentIndex(1);
    save(editor, "editor-com2");
    kv::EDSAndEEPSet saveWindow(h.Session);
    save(saveWindow, "save-window");
    kv::frmImpExpEEP copy(h.Session);
    save(copy, "eeprom-copy");
    kv::MemoryMap map(h.Config);
    save(map, "memory-map");
    kv::ReportFieldsDialog reportFields;
    save(reportFields, "export-report");
    // The save window just after a save that was read back, and the main window with a
    // configuration file loaded.
    kv::EDSAndEEPSet verified(h.Session);
    verified.SetEdsFolders({folder.path()});
    verified.show();
    QTest::mouseClick(verified.findChild<QPushButton*>("FinishDeviceSet"), Qt::LeftButton);
    kv::test::WaitUntilIdle(h.Link);
    save(verified, "save-window-verified");
    const QString file = folder.filePath("site.json");
    saved = kv::WriteConfigFile(file, h.Config).isEmpty() && saved;
    h.Window.OpenConfigurationPath(file);
    save(h.Window, "main-window-file");
    const kv::GatewayConfig maximal = kv::sim::MaximalConfig();
    kv::ReportSubject report = kv::WholeConfigSubject(maximal, "maximal.json", "maximal.json");
    report.Parties = {"Plant A, hall 3", "Example Foods Ltd.", "GW-104", "A. Engineer"};
    saved = kv::WriteReport(report, folder.filePath("report.pdf")).isEmpty() && saved;
    return saved ? 0 : 1;
}
