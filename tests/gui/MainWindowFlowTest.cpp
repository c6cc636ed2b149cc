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
    std::unique_ptr<test::WindowRig<AppWindows>> rig;
    AppWindows* windows = nullptr;

    Main_F& Main() { return windows->Main(); }

    static void Click(QWidget* window, const char* name) {
        QTest::mouseClick(window->findChild<QAbstractButton*>(name), Qt::LeftButton);
    }

    static void DeleteDisposedWindows() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private Q_SLOTS:
    void init() {
        rig = std::make_unique<test::WindowRig<AppWindows>>();
        rig->Window = std::make_unique<AppWindows>(rig->Session);
        windows = rig->Window.get();
        windows->ShowMain();
    }
    void cleanup() {
        rig.reset();
        DeleteDisposedWindows();
    }

    void editorAndSaveWindowLeadForwardAndBack() {
        Click(&Main(), "Connect");
        test::WaitUntilIdle(rig->Link);
        Click(&Main(), "CreateMBDevice");
        QVERIFY(windows->Editor());
        QVERIFY(!Main().isVisible());
        Q_EMIT windows->Editor()->backPressed();
        DeleteDisposedWindows();
        QVERIFY(!windows->Editor());
        QVERIFY(Main().isVisible());
        // The editor's title bar leads back too.
        Click(&Main(), "CreateMBDevice");
        windows->Editor()->close();
        QTRY_VERIFY(Main().isVisible());

        Click(&Main(), "CreateMBDevice");
        Q_EMIT windows->Editor()->nextPressed();
        QVERIFY(!windows->Editor()->isVisible());
        QVERIFY(windows->SaveWindow() && windows->SaveWindow()->isVisible());
        Q_EMIT windows->SaveWindow()->closedWithoutSave();
        DeleteDisposedWindows();
        QVERIFY(!windows->SaveWindow());
        QVERIFY(windows->Editor()->isVisible());

        // The views are made once and go with the save.
        Q_EMIT windows->Editor()->deviceViewRequested();
        ShowModule* deviceView = windows->DeviceView();
        QVERIFY(deviceView && deviceView->isVisible());
        Q_EMIT windows->Editor()->deviceViewRequested();
        QCOMPARE(windows->DeviceView(), deviceView);
        Q_EMIT windows->Editor()->nextPressed();
        Q_EMIT windows->SaveWindow()->objectViewRequested();
        Q_EMIT windows->SaveWindow()->memoryMapRequested();
        QVERIFY(windows->ObjectView() && windows->ObjectView()->isVisible());
        QVERIFY(windows->MemoryMapView() && windows->MemoryMapView()->isVisible());

        Q_EMIT windows->SaveWindow()->saveCompleted();
        DeleteDisposedWindows();
        QVERIFY(!windows->SaveWindow() && !windows->Editor());
        QVERIFY(!windows->DeviceView() && !windows->ObjectView() && !windows->MemoryMapView());
        QVERIFY(Main().isVisible());

        // Closing the main window closes the views too.
        Click(&Main(), "CreateMBDevice");
        Q_EMIT windows->Editor()->objectViewRequested();
        Q_EMIT windows->Editor()->backPressed();
        rig->Dialogs.YesNoAnswers = {true};
        Main().close();
        DeleteDisposedWindows();
        QVERIFY(!windows->ObjectView());
    }

    void aboutEepromCopyAndSplashOpenAndClose() {
        Main().findChild<QAction*>("About_")->trigger();
        Main().findChild<QAction*>("About_")->trigger();
        const auto abouts = Main().findChildren<AboutWindow*>();
        QCOMPARE(abouts.size(), 1);
        QVERIFY(abouts.first()->isVisible());
        Click(abouts.first(), "OK");
        QVERIFY(!abouts.first()->isVisible());

        Main().findChild<QAction*>("MenuEEPCopy")->trigger();
        QVERIFY(!Main().isVisible());
        QVERIFY(windows->EepromCopy() && windows->EepromCopy()->isVisible());
        Q_EMIT windows->EepromCopy()->closed();
        DeleteDisposedWindows();
        QVERIFY(!windows->EepromCopy());
        QVERIFY(Main().isVisible());

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
