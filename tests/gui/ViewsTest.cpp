// The device view and the application object view on a working copy made in the test.

#include "ui/views/ShowAppObjView.h"
#include "ui/views/ShowModuleView.h"

#include <QDir>
#include <QHeaderView>
#include <QTableWidget>
#include <QtTest>

#include <cmath>

namespace kv {

class ViewsTest : public QObject {
    Q_OBJECT

private:
    static ModbusCommand Command(uint8_t functionCode, double memAddress, int32_t length) {
        ModbusCommand command;
        command.Valid = 1;
        command.NetId = 9;
        command.FunctionCode = functionCode;
        command.MemAddress = memAddress;
        command.StartAddress = 4000;
        command.Length = length;
        return command;
    }

    // The saved records differ from the working copy: the views show the working copy.
    static GatewayConfig WorkingCopy() {
        GatewayConfig config;
        config.SerialClasses[0].ConnMode = 2;
        config.EditSerialClasses[0].ConnMode = 1;
        config.EditSerialClasses[0].CmdTimeout = 300;
        config.EditSerialClasses[0].CmdCount = 1;
        config.EditSerialClasses[0].Commands[0] = Command(3, 100, 16);
        config.EditTcpClasses[3].ConnValid = 1;
        config.EditTcpClasses[3].ServerIp = {10, 0, 0, 7};
        config.EditTcpClasses[3].CmdCount = 2;
        config.EditTcpClasses[3].Commands[0] = Command(16, 2000, 8);
        config.EditTcpClasses[3].Commands[1] = Command(1, 0, 1);
        return config;
    }

    static QString Cell(const QTableWidget& table, int row, int column) {
        const QTableWidgetItem* item = table.item(row, column);
        return item ? item->text() : QString();
    }

    static QStringList Headings(const QTableWidget& table) {
        QStringList headings;
        for (int column = 0; column < table.columnCount(); ++column)
            headings << table.horizontalHeaderItem(column)->text();
        return headings;
    }

    static void ExpectWidthFactors(const QTableWidget& table, const QList<double>& factors) {
        QCOMPARE(table.columnCount(), factors.size());
        const int first = table.columnWidth(0);
        QVERIFY(first > 0);
        for (int column = 0; column < factors.size(); ++column)
            QCOMPARE(table.columnWidth(column), int(std::lround(first * factors[column])));
    }

    static void ExpectCentred(const QTableWidget& table) {
        for (int row = 0; row < table.rowCount(); ++row)
            for (int column = 0; column < table.columnCount(); ++column)
                QCOMPARE(table.item(row, column)->textAlignment(), int(Qt::AlignCenter));
    }

    static void Render(QWidget& window, const QString& name) {
        const QString folder = qEnvironmentVariable("KV_TEST_OUTPUT", QDir::tempPath());
        QDir().mkpath(folder);
        window.show();
        QVERIFY(window.grab().save(QDir(folder).filePath(name)));
    }

private Q_SLOTS:
    void deviceViewShowsTheWorkingCopyOnce() {
        GatewayConfig config = WorkingCopy();
        ShowModule view(config);
        QCOMPARE(view.objectName(), QStringLiteral("ShowModule"));
        QCOMPARE(view.windowTitle(), QStringLiteral("Device Information"));
        QVERIFY(view.testAttribute(Qt::WA_DeleteOnClose));

        auto* serial = view.findChild<QTableWidget*>("ModuleInfoRecord_0");
        auto* tcp = view.findChild<QTableWidget*>("ModuleInfoRecord_1");
        QVERIFY(serial && tcp);
        QCOMPARE(Headings(*serial).mid(0, 3),
                 QStringList({"COM Port", "Modbus Mode", "Comm. Timeout"}));
        QCOMPARE(serial->rowCount(), 5);  // port, command, empty, port, empty
        QCOMPARE(Cell(*serial, 0, 1), QStringLiteral("RTU"));
        QCOMPARE(Cell(*serial, 0, 2), QStringLiteral("300"));
        QCOMPARE(Cell(*serial, 1, 3), QStringLiteral("(1)"));
        QCOMPARE(Cell(*serial, 1, 8), QStringLiteral("100"));
        QCOMPARE(Cell(*serial, 1, 9), QStringLiteral("115"));
        QCOMPARE(Cell(*serial, 3, 0), QStringLiteral("RS-485"));
        QCOMPARE(Cell(*serial, 3, 1), QStringLiteral("NONE"));
        QCOMPARE(tcp->rowCount(), 4);
        QCOMPARE(Cell(*tcp, 0, 0), QStringLiteral("Server 4"));
        QCOMPARE(Cell(*tcp, 0, 1), QStringLiteral("10.0.0.7"));
        QCOMPARE(Cell(*tcp, 1, 7), QStringLiteral("AO (W)"));
        QCOMPARE(Cell(*tcp, 2, 11), QStringLiteral("0"));
        ExpectCentred(*serial);
        ExpectCentred(*tcp);
        ExpectWidthFactors(*serial, {1.0, 1.2, 1.3, 0.5, 0.6, 0.8, 1.0, 1.0, 1.1, 1.0});
        ExpectWidthFactors(*tcp, {1.0, 1.2, 1.2, 1.2, 1.2, 0.5, 0.6, 0.8, 1.0, 1.0, 1.1, 1.0});
        QCOMPARE(serial->editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(!serial->accessibleName().isEmpty());

        // Filled once: a change in the editor shows only in a view opened afterwards.
        config.EditSerialClasses[0].ConnMode = 2;
        QCOMPARE(Cell(*serial, 0, 1), QStringLiteral("RTU"));
        ShowModule reopened(config);
        QCOMPARE(Cell(*reopened.findChild<QTableWidget*>("ModuleInfoRecord_0"), 0, 1),
                 QStringLiteral("ASCII"));
        Render(view, "ShowModule.png");
    }

    void objectViewListsClassesWithTheirInstances() {
        ShowAppObj view(WorkingCopy());
        QCOMPARE(view.objectName(), QStringLiteral("ShowAppObj"));
        QCOMPARE(view.windowTitle(), QStringLiteral("Application Object Information"));
        auto* table = view.findChild<QTableWidget*>("AppObjParaRecord");
        QVERIFY(table);
        QCOMPARE(
            Headings(*table),
            QStringList({"Class ID", "Instance ID", "Attr ID 0x01\nCmd Valid",
                         "Attr ID 0x02\nNet ID", "Attr ID 0x03\nFunCode", "Attr ID 0x04\nMemIndex",
                         "Attr ID 0x05\nDevice Addr.", "Attr ID 0x06\nIO Num"}));
        // Below the headings: 0x65 with one instance, empty, 0x6A with two, empty.
        QCOMPARE(table->rowCount(), 5);
        QCOMPARE(Cell(*table, 0, 0), QStringLiteral("0x65"));
        QCOMPARE(Cell(*table, 0, 1), QStringLiteral("0x01"));
        QCOMPARE(Cell(*table, 2, 0), QStringLiteral("0x6A"));
        QCOMPARE(Cell(*table, 2, 4), QStringLiteral("16"));
        QCOMPARE(Cell(*table, 2, 5), QStringLiteral("2000"));
        QCOMPARE(Cell(*table, 2, 6), QStringLiteral("4000"));
        QCOMPARE(Cell(*table, 2, 7), QStringLiteral("8"));
        QCOMPARE(Cell(*table, 3, 1), QStringLiteral("0x02"));
        QCOMPARE(Cell(*table, 4, 1), QString());
        ExpectCentred(*table);
        ExpectWidthFactors(*table, {1.0, 1.0, 1.1, 1.1, 1.1, 1.1, 1.1, 1.1});
        Render(view, "ShowAppObj.png");
    }

    void objectViewWithoutListedClassesKeepsItsEmptyRows() {
        ShowAppObj view(GatewayConfig{});
        QCOMPARE(view.findChild<QTableWidget*>("AppObjParaRecord")->rowCount(), 18);
    }
};

}  // namespace kv

QTEST_MAIN(kv::ViewsTest)
#include "ViewsTest.moc"
