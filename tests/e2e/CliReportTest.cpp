// kv9052r-cli report, read back as a person reads it: the PDF through pdftotext, the HTML
// as it is.

#include <gtest/gtest.h>

#include <QCryptographicHash>

#include "CliProcess.h"
#include "config/ConfigFile.h"
#include "sim/DemoImages.h"
#include "support/TestFiles.h"

namespace kv::test {
namespace {

QString OutputOf(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

struct ReportCase {
    GatewayConfig Config;
    QStringList Texts;  // in the PDF's text and the HTML alike
    QString PollRows;   // the poll connection's rows in the PDF's text, as a pattern
    int Pages;
};

TEST(CliReport, HoldsFingerprintReferencesPollBytesAndOverlaps) {
    GatewayConfig shared = sim::DemoConfig();
    shared.SerialClasses[0].Commands[1].MemAddress = 5;
    const ReportCase cases[] = {
        {sim::MaximalConfig(),
         {"0x65/1/11", "FC01 Read Coil Status", "00001-00016", "40201-40204", "30301-30304",
          "00401", "43901-43904", "1560-1563", "No two commands share an address."},
         "Produced +0x65/1/11 .* 16 bits +2\n(.*\n)+Consumed +0x65/5/11 .* 1 bit +1\n",
         4},
        {shared,
         {"COM1 instance 1 and COM1 instance 2 share 5..8"},
         "Produced +0x65/1/13 .* 10 registers +20\n(.*\n)+Consumed +0x67/2/13 .* 20 registers "
         "+40\n",
         3}};
    QTemporaryDir folder;
    for (const ReportCase& c : cases) {
        const QByteArray file = ConfigFileText(c.Config);
        ASSERT_TRUE(WriteAll(folder.filePath("c.json"), file));
        ExpectRuns({{{"report", "%1/c.json", "-o", "%1/r.pdf"}, 0, "", ""},
                    {{"report", "%1/c.json", "-o", "%1/r.html"}, 0, "", ""}},
                   folder.path());
        const QString pdf = OutputOf("pdftotext", {"-layout", folder.filePath("r.pdf"), "-"});
        const QString html = QString::fromUtf8(ReadAll(folder.filePath("r.html")));
        const QString fingerprint =
            QCryptographicHash::hash(file, QCryptographicHash::Sha256).toHex();
        for (const QString& text : c.Texts + QStringList{fingerprint}) {
            EXPECT_TRUE(pdf.contains(text)) << text.toStdString();
            EXPECT_TRUE(html.contains(text)) << text.toStdString();
        }
        EXPECT_TRUE(pdf.contains(QRegularExpression(c.PollRows))) << pdf.toStdString();
        EXPECT_EQ(pdf.count(u'\f'), c.Pages);
    }
    ExpectRuns(
        {{{"report", "%1/c.json", "-o", "%1/r.txt"}, 2, "", "Name the report with..."},
         {{"report", "%1/none.json", "-o", "%1/r.pdf"}, 2, "", "%1/none.json: ..."},
         {{"report", "%1/c.json", "-o", "/proc/r.pdf"}, 1, "", "Can't write /proc/r.pdf: ..."}},
        folder.path());
}

}  // namespace
}  // namespace kv::test
