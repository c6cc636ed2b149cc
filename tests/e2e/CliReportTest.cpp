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
    QByteArray File;
    QStringList Texts;  // in the PDF's text and the HTML alike
    QString PdfRows;    // rows of the PDF's text, as a pattern
    int Pages;
};

TEST(CliReport, HoldsFingerprintReferencesPollBytesAndOverlaps) {
    GatewayConfig shared = sim::DemoConfig();
    shared.SerialClasses[0].Commands[1].MemAddress = 5;
    const QStringList parties = {"Plant A, hall 3", "Example Foods Ltd.", "GW-104", "A. Engineer"};
    const ReportCase cases[] = {
        {ConfigFileText(sim::MaximalConfig()),
         {"0x65/1/11", "FC01 Read Coil Status", "00001-00016", "40201-40204", "30301-30304",
          "00401", "43901-43904", "1560-1563", "No two commands share an address."},
         "Produced +0x65/1/11 .* 16 bits +2\n(.*\n)+Consumed +0x65/5/11 .* 1 bit +1\n",
         4},
        {ConfigFileText(shared),
         {"COM1 instance 1 and COM1 instance 2 share 5..8"},
         "Produced +0x65/1/13 .* 10 registers +20\n(.*\n)+Consumed +0x67/2/13 .* 20 registers "
         "+40\n",
         3},
        // What check says of the same file (below), no value the file does not give, and the
        // file's comment.
        {R"({"Comment": "Pumps & valves, hall 3", "DeviceNetParams": {"NodeId": 7},
             "SerialClasses": [{"ConnMode": 1, "DataBits": 7}]})",
         {"Comment: Pumps & valves, hall 3", "Commands not in the file.",
          "SerialClasses[0].DataBits: Modbus RTU needs 8 data bits; with 7 the port cannot talk"},
         "DeviceNet node ID +7\n(.*\n)+COM1 +0x65 +Modbus RTU +not in the file +7 +not in the "
         "file +not in the file +not in the file\nCOM2 +0x66 +not in the file\n(.*\n)+Server "
         "04 +0x6A +not in the file\n(.*\n)+Produced +not in the file\nConsumed +not in the "
         "file\n",
         3}};
    QTemporaryDir folder;
    const QRegularExpression made(R"(\d{4}-\d\d-\d\d \d\d:\d\d UTC[+-]\d\d:\d\d)");
    for (const ReportCase& c : cases) {
        ASSERT_TRUE(WriteAll(folder.filePath("c.json"), c.File));
        const QStringList who = {"--site", parties[0], "--customer", parties[1],
                                 "--tag",  parties[2], "--engineer", parties[3]};
        ExpectRuns({{QStringList{"report", "%1/c.json", "-o", "%1/r.pdf"} + who, 0, "", ""},
                    {QStringList{"report", "%1/c.json", "-o", "%1/r.html"} + who, 0, "", ""}},
                   folder.path());
        // Read as a person reads it: "fi" is one glyph in the PDF.
        const QString pdf = OutputOf("pdftotext", {"-layout", folder.filePath("r.pdf"), "-"})
                                .normalized(QString::NormalizationForm_KC);
        const QString html = QString::fromUtf8(ReadAll(folder.filePath("r.html")));
        const QString fingerprint =
            QCryptographicHash::hash(c.File, QCryptographicHash::Sha256).toHex();
        for (const QString& text : c.Texts + parties + QStringList{fingerprint}) {
            EXPECT_TRUE(pdf.simplified().contains(text)) << text.toStdString();
            EXPECT_TRUE(html.contains(text.toHtmlEscaped())) << text.toStdString();
        }
        EXPECT_TRUE(pdf.contains(QRegularExpression(c.PdfRows))) << pdf.toStdString();
        EXPECT_EQ(pdf.count(u'\f'), c.Pages);
        EXPECT_TRUE(pdf.contains(QStringLiteral("c.json, page %1 of %1").arg(c.Pages)));
        EXPECT_TRUE(pdf.contains(made) && html.contains(made));
        EXPECT_TRUE(html.startsWith("<!DOCTYPE html><html lang=\"en\">"));
        EXPECT_TRUE(html.contains("<meta name=\"viewport\""));
    }
    ASSERT_TRUE(WriteAll(folder.filePath("bad.json"), R"({"DeviceNetParams": {"NodeId": 99}})"));
    const QString nodeProblem = "Problem: DeviceNetParams.NodeId: Node ID is not supported!(0~63)";
    ExpectRuns(
        {{{"check", "%1/c.json"},
          3,
          "Warning: SerialClasses[0].DataBits: Modbus RTU needs 8 data bits; with 7 the port "
          "cannot talk to its devices\n0 problems, 1 warning.",
          ""},
         {{"check", "%1/bad.json"}, 4, nodeProblem + "\n1 problem, 0 warnings.", ""},
         {{"report", "%1/bad.json", "-o", "%1/r.pdf"},
          4,
          "",
          nodeProblem + "\nNo report was written: the file has 1 problem."},
         {{"report", "%1/c.json", "-o", "%1/r.txt"}, 2, "", "Name the report with..."},
         {{"report", "%1/none.json", "-o", "%1/r.pdf"}, 2, "", "%1/none.json: ..."},
         {{"report", "%1/c.json", "-o", "/proc/r.pdf"}, 1, "", "Can't write /proc/r.pdf: ..."}},
        folder.path());
}

}  // namespace
}  // namespace kv::test
