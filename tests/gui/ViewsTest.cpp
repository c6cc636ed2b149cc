// The device view and the application object view: the rows themselves are checked in
// ViewRowsTest; here that the windows show the working copy, once, read-only.

#include <QTableWidget>
#include <QtTest>

#include "ui/views/ShowAppObj.h"
#include "ui/views/ShowModule.h"

namespace kv {

class ViewsTest : public QObject {
    Q_OBJECT

private:
    // The saved records differ from the working copy: the views show the working copy.
    static GatewayConfig WorkingCopy() {
        GatewayConfig config;
        config.SerialClasses[0].ConnMode = 2;
        config.EditSerialClasses[0].ConnMode = 1;
        config.EditSerialClasses[0].CmdCount = 1;
        config.EditSerialClasses[0].Commands[0] = {1, 9, 3, 100, 4000, 16};
        config.EditTcpClasses[3].ConnValid = 1;
        config.EditTcpClasses[3].CmdCount = 1;
        config.EditTcpClasses[3].Commands[0] = {1, 9, 16, 2000, 4000, 8};
        return config;
    }

    static QString Cell(QWidget& view, const char* table, int row, int column) {
        const QTableWidgetItem* item = view.findChild<QTableWidget*>(table)->item(row, column);
        return item ? item->text() : QString();
    }

private Q_SLOTS:
    void deviceViewShowsTheWorkingCopyOnce() {
        GatewayConfig config = WorkingCopy();
        ShowModule view(config);
        auto* serial = view.findChild<QTableWidget*>("ModuleInfoRecord_0");
        QCOMPARE(Cell(view, "ModuleInfoRecord_0", 0, 1), QStringLiteral("RTU"));
        QCOMPARE(Cell(view, "ModuleInfoRecord_1", 0, 0), QStringLiteral("Server 4"));
        QCOMPARE(serial->editTriggers(), QAbstractItemView::NoEditTriggers);

        // Filled once: a change in the editor shows only in a view opened afterwards.
        config.EditSerialClasses[0].ConnMode = 2;
        QCOMPARE(Cell(view, "ModuleInfoRecord_0", 0, 1), QStringLiteral("RTU"));
        ShowModule reopened(config);
        QCOMPARE(Cell(reopened, "ModuleInfoRecord_0", 0, 1), QStringLiteral("ASCII"));
    }

    void objectViewShowsTheWorkingCopy() {
        ShowAppObj view(WorkingCopy());
        QCOMPARE(Cell(view, "AppObjParaRecord", 0, 0), QStringLiteral("0x65"));
        QCOMPARE(Cell(view, "AppObjParaRecord", 2, 5), QStringLiteral("2000"));
    }
};

}  // namespace kv

QTEST_MAIN(kv::ViewsTest)
#include "ViewsTest.moc"
