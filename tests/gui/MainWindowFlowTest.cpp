// The way through the program's windows as AppWindows wires them: the main window, the
// editor, the save window, the views, the EEPROM copy and the About window.

#include <QAction>
#include <QtTest>

#include "MainWindowHarness.h"
#include "ui/appobj/IOAppObj.h"
#include "ui/backup/frmImpExpEEP.h"
#include "ui/main/AboutWindow.h"
#include "ui/main/AppWindows.h"
#include "ui/main/SplashWindow.h"
#include "ui/save/EDSAndEEPSet.h"
#include "ui/views/MemoryMap.h"
#include "ui/views/ShowAppObj.h"
#include "ui/views/ShowModule.h"

namespace kv {
namespace {

class MainWindowFlowTest : public QObject {
    Q_OBJECT

private:
    static void Click(QWidget* window, const char* name) {
        QTest::mouseClick(window->findChild<QAbstractButton*>(name), Qt::LeftButton);
    }

    static void DeleteDisposedWindows() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private Q_SLOTS:
    void cleanup() { DeleteDisposedWindows(); }

    void windowsLeadForwardAndBack() {
        test::WindowRig<AppWindows> rig;
        rig.Window = std::make_unique<AppWindows>(rig.Session);
        AppWindows& windows = *rig.Window;
        Main_F& main = windows.Main();
        windows.ShowMain();

        // One About window at a time.
        main.findChild<QAction*>("About_")->trigger();
        main.findChild<QAction*>("About_")->trigger();
        const auto abouts = main.findChildren<AboutWindow*>();
        QCOMPARE(abouts.size(), 1);
        QVERIFY(abouts.first()->isVisible());
        Click(abouts.first(), "OK");
        QVERIFY(!abouts.first()->isVisible());

        main.findChild<QAction*>("MenuEEPCopy")->trigger();
        QVERIFY(!main.isVisible());
        QVERIFY(windows.EepromCopy() && windows.EepromCopy()->isVisible());
        Q_EMIT windows.EepromCopy()->closed();
        DeleteDisposedWindows();
        QVERIFY(!windows.EepromCopy());
        QVERIFY(main.isVisible());

        Click(&main, "Connect");
        test::WaitUntilIdle(rig.Link);
        Click(&main, "CreateMBDevice");
        QVERIFY(windows.Editor());
        QVERIFY(!main.isVisible());
        Q_EMIT windows.Editor()->backPressed();
        DeleteDisposedWindows();
        QVERIFY(!windows.Editor());
        QVERIFY(main.isVisible());
        // The editor's title bar leads back too.
        Click(&main, "CreateMBDevice");
        windows.Editor()->close();
        QTRY_VERIFY(main.isVisible());

        Click(&main, "CreateMBDevice");
        Q_EMIT windows.Editor()->nextPressed();
        QVERIFY(!windows.Editor()->isVisible());
        QVERIFY(windows.SaveWindow() && windows.SaveWindow()->isVisible());
        Q_EMIT windows.SaveWindow()->closedWithoutSave();
        DeleteDisposedWindows();
        QVERIFY(!windows.SaveWindow());
        QVERIFY(windows.Editor()->isVisible());

        // The views are made once and go with the save.
        Q_EMIT windows.Editor()->deviceViewRequested();
        ShowModule* deviceView = windows.DeviceView();
        QVERIFY(deviceView && deviceView->isVisible());
        Q_EMIT windows.Editor()->deviceViewRequested();
        QCOMPARE(windows.DeviceView(), deviceView);
        Q_EMIT windows.Editor()->nextPressed();
        Q_EMIT windows.SaveWindow()->objectViewRequested();
        Q_EMIT windows.SaveWindow()->memoryMapRequested();
        QVERIFY(windows.ObjectView() && windows.ObjectView()->isVisible());
        QVERIFY(windows.MemoryMapView() && windows.MemoryMapView()->isVisible());

        Q_EMIT windows.SaveWindow()->saveCompleted();
        DeleteDisposedWindows();
        QVERIFY(!windows.SaveWindow() && !windows.Editor());
        QVERIFY(!windows.DeviceView() && !windows.ObjectView() && !windows.MemoryMapView());
        QVERIFY(main.isVisible());

        // Closing the main window closes the views too.
        Click(&main, "CreateMBDevice");
        Q_EMIT windows.Editor()->objectViewRequested();
        Q_EMIT windows.Editor()->backPressed();
        rig.Dialogs.YesNoAnswers = {true};
        main.close();
        DeleteDisposedWindows();
        QVERIFY(!windows.ObjectView());

        // The splash closes when its time is up.
        SplashWindow splash;
        splash.ShowFor(std::chrono::milliseconds(0));
        QVERIFY(!splash.isVisible());
    }
};

}  // namespace
}  // namespace kv

QTEST_MAIN(kv::MainWindowFlowTest)
#include "MainWindowFlowTest.moc"
