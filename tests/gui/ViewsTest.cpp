// The views of the working copy: the device view and the application object view (their
// rows are ViewRowsTest's; here that they show the working copy, read-only), and the
// memory map, followed while the copy changes.

#include <QLabel>
#include <QListWidget>
#include <QTableWidget>
#include <QtTest>

#include "config/WorkingCopy.h"
#include "ui/views/MemoryGrid.h"
#include "ui/views/MemoryMap.h"
#include "ui/views/ShowAppObj.h"
#include "ui/views/ShowModule.h"

namespace kv {

class ViewsTest : public QObject {
    Q_OBJECT

private:
    static QString Cell(QWidget& view, const char* table, int row, int column) {
        const QTableWidgetItem* item = view.findChild<QTableWidget*>(table)->item(row, column);
        return item ? item->text() : QString();
    }

    static ModbusCommand Command(uint8_t functionCode, double memAddress, int32_t length) {
        return {1, 5, functionCode, memAddress, 0, length};
    }

    // COM1 instance 2 (100..115) and Server 01 instance 1 (110..129) share 110..115;
    // Server 04 is switched off but still holds a command. The saved records differ from the
    // working copy: the views show the working copy.
    static GatewayConfig WorkingCopy() {
        GatewayConfig config;
        config.SerialClasses[0].ConnMode = 2;
        config.EditSerialClasses[0].ConnMode = 1;
        config.EditSerialClasses[0].CmdCount = 2;
        config.EditSerialClasses[0].Commands[0] = Command(1, 0, 100);
        config.EditSerialClasses[0].Commands[1] = Command(3, 100, 16);
        config.EditTcpClasses[0].ConnValid = 1;
        config.EditTcpClasses[0].CmdCount = 1;
        config.EditTcpClasses[0].Commands[0] = Command(16, 110, 20);
        config.EditTcpClasses[3].CmdCount = 1;
        config.EditTcpClasses[3].Commands[0] = Command(4, 500, 10);
        return config;
    }

private Q_SLOTS:
    void viewsShowTheWorkingCopyAndTheMapFollowsIt() {
        GatewayConfig config = WorkingCopy();
        ShowModule view(config);
        QCOMPARE(Cell(view, "ModuleInfoRecord_0", 0, 1), QStringLiteral("RTU"));
        QCOMPARE(Cell(view, "ModuleInfoRecord_1", 0, 0), QStringLiteral("Server 1"));
        QCOMPARE(view.findChild<QTableWidget*>("ModuleInfoRecord_0")->editTriggers(),
                 QAbstractItemView::NoEditTriggers);
        ShowAppObj objects(config);
        QCOMPARE(Cell(objects, "AppObjParaRecord", 0, 0), QStringLiteral("0x65"));
        QCOMPARE(Cell(objects, "AppObjParaRecord", 3, 5), QStringLiteral("110"));

        // Which ranges overlap is MemoryOverlaps'; here the list, the marks, the texts and
        // the way there by keyboard.
        MemoryMap map(config);
        map.show();
        auto* list = map.findChild<QListWidget*>("OverlapList");
        auto* grid = map.findChild<MemoryGrid*>("MemoryGrid");
        auto* none = map.findChild<QLabel*>("NoOverlaps");
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(),
                 QStringLiteral("COM1 instance 2 and Server 01 instance 1 share 110..115"));
        QVERIFY(none->isHidden());
        // The shared range at its edges.
        QVERIFY(!grid->IsShared(109) && grid->IsShared(110));
        QVERIFY(grid->IsShared(115) && !grid->IsShared(116));
        QCOMPARE(grid->AddressText(110),
                 QStringLiteral("Address 110, shared: COM1 instance 2 at 100..115, "
                                "Server 01 instance 1 at 110..129"));
        QCOMPARE(grid->AddressText(505),
                 QStringLiteral("Address 505: Server 04 instance 1 (not in use) at 500..509"));
        QCOMPARE(grid->AddressText(600), QStringLiteral("Address 600: free"));

        // The keyboard and the list lead to an address.
        auto* cursorText = map.findChild<QLabel*>("CursorText");
        QVERIFY(QTest::qWaitForWindowExposed(&map));
        QCOMPARE(grid->focusPolicy(), Qt::StrongFocus);
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Down);
        QTest::keyClick(grid, Qt::Key_End);
        QCOMPARE(grid->Cursor(), 127);
        QTest::keyClick(grid, Qt::Key_Up);
        QCOMPARE(grid->Cursor(), 63);
        QCOMPARE(cursorText->text(), QStringLiteral("Address 63: COM1 instance 1 at 0..99"));
        QCOMPARE(grid->accessibleDescription(), cursorText->text());
        QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(grid->Cursor(), 0);
        QTest::keyClick(grid, Qt::Key_Left);
        QCOMPARE(grid->Cursor(), 0);
        QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(grid->Cursor(), 2047);

        list->setCurrentRow(0);
        QCOMPARE(grid->Cursor(), 110);
        QVERIFY(cursorText->text().startsWith("Address 110, shared: "));

        // As the editor's Delete does; the window notices on its own.
        DeleteCommand(config, 0, 1);
        QTRY_COMPARE(list->count(), 0);
        QVERIFY(!grid->IsShared(110));
        QVERIFY(!none->isHidden());
    }
};

}  // namespace kv

QTEST_MAIN(kv::ViewsTest)
#include "ViewsTest.moc"
