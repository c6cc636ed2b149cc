#include "report/ReportFile.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextFrame>
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

// The 2 cm margins of a printed page, in the document's pixels (96 to the inch), as
// QTextDocument::print sets them; the footer line sits in the bottom one.
constexpr qreal PageMargin = 2 / 2.54 * 96;

// "plant-a.json, page 2 of 4" at the right under the page's text.
void PaintFooter(QPainter& painter, const QString& text, QSizeF page, qreal toDevice) {
    painter.setFont(ReportFont());
    painter.setPen(Qt::black);
    const qreal margin = PageMargin * toDevice;
    painter.drawText(
        QRectF(0, page.height() - margin + margin / 4, page.width() - margin, margin / 2),
        Qt::AlignRight | Qt::AlignTop, text);
}

// Laid out on A4 and painted page by page, so that each page says which of how many it is,
// and with lossless pictures: the PDF writer would store the map as a JPEG otherwise.
QByteArray PdfReport(const ReportSubject& subject) {
    const MemoryLayout layout = ReportedLayout(subject.Config);
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, {}));
    writer.setResolution(PdfResolution);
    writer.setTitle(QStringLiteral("KV-9052R commissioning report: ") + subject.Source);
    writer.setCreator(QStringLiteral("kv9052r-utility " KV_VERSION));

    QTextDocument document;
    document.documentLayout()->setPaintDevice(&writer);
    document.setDefaultFont(ReportFont());
    const QString mapName = QStringLiteral("memory-map.png");
    document.addResource(QTextDocument::ImageResource, QUrl(mapName),
                         MemoryMapImage(layout, ReportFont(), PdfPictureScale));
    document.setHtml(ReportHtml(subject, layout, mapName));
    QTextFrameFormat frame = document.rootFrame()->frameFormat();
    frame.setMargin(PageMargin);
    document.rootFrame()->setFrameFormat(frame);
    const QSizeF page(writer.width(), writer.height());
    document.setPageSize(page);

    QPainter painter(&writer);
    painter.setRenderHint(QPainter::LosslessImageRendering);
    const int pages = document.pageCount();
    for (int index = 0; index < pages; ++index) {
        if (index > 0) writer.newPage();
        const QRectF view(QPointF(0, index * page.height()), page);
        painter.save();
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = view;
        context.palette.setColor(QPalette::Text, Qt::black);
        document.documentLayout()->draw(&painter, context);
        painter.restore();
        PaintFooter(
            painter,
            QStringLiteral("%1, page %2 of %3").arg(subject.Source).arg(index + 1).arg(pages), page,
            writer.logicalDpiY() / 96.0);
    }
    painter.end();
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
