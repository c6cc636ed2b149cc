#include "report/ReportFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPdfWriter>
#include <QTextDocument>
#include <QUrl>

#include "drawing/MemoryPicture.h"
#include "platform/WholeFile.h"
#include "report/ReportHtml.h"

namespace kv {
namespace {

// fonts-dejavu-core comes with the program; a system without it falls back to its own.
QFont ReportFont() { return QFont(QStringLiteral("DejaVu Sans"), 9); }

// A picture 3 times the size it is shown at stays sharp when printed.
constexpr qreal PdfPictureScale = 3;
constexpr qreal HtmlPictureScale = 2;
constexpr int PdfResolution = 300;

QByteArray PngOf(const QImage& image) {
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    image.save(&png, "PNG");
    return png.data();
}

QByteArray PdfReport(const ReportSubject& subject) {
    const MemoryLayout layout = ReportedLayout(subject.Config);
    QTextDocument document;
    document.setDefaultFont(ReportFont());
    const QString mapName = QStringLiteral("memory-map.png");
    document.addResource(QTextDocument::ImageResource, QUrl(mapName),
                         MemoryMapImage(layout, ReportFont(), PdfPictureScale));
    document.setHtml(ReportHtml(subject, layout, mapName));
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(PdfResolution);
        writer.setTitle(QStringLiteral("KV-9052R commissioning report: ") + subject.Source);
        writer.setCreator(QStringLiteral("kv9052r-utility " KV_VERSION));
        // An unpaginated document is printed with 2 cm margins and its page numbers.
        document.print(&writer);
    }
    return pdf.data();
}

QByteArray HtmlReport(const ReportSubject& subject) {
    const MemoryLayout layout = ReportedLayout(subject.Config);
    const QByteArray png = PngOf(MemoryMapImage(layout, ReportFont(), HtmlPictureScale));
    const QString map =
        QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
    return ReportHtml(subject, layout, map).toUtf8();
}

}  // namespace

std::optional<ReportFormat> ReportFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"pdf") return ReportFormat::Pdf;
    if (suffix == u"html" || suffix == u"htm") return ReportFormat::Html;
    return std::nullopt;
}

QString WriteReport(const ReportSubject& subject, const QString& path) {
    const std::optional<ReportFormat> format = ReportFormatOf(path);
    if (!format) return QStringLiteral("a report is named .pdf or .html");
    // A folder that cannot be written is found before the report is made.
    WholeFileWriter file(path);
    if (QString failure = file.Open(); !failure.isEmpty()) return failure;
    return file.Commit(*format == ReportFormat::Pdf ? PdfReport(subject) : HtmlReport(subject));
}

}  // namespace kv
