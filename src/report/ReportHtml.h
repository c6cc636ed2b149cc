#pragma once
// The commissioning report as one HTML text, the same for the HTML file and the PDF (which
// QTextDocument lays out): title with who it is for and the fingerprint, the gateway, the
// ports, the poll connection, the commands class by class, the internal memory, the
// problems and warnings of `check`, what the windows' probes of the Modbus devices found,
// and lines to sign.

#include <QString>

#include "config/MemoryOverlaps.h"
#include "report/ReportSubject.h"

namespace kv {

// The width the memory map picture is shown at, in the document's pixels.
inline constexpr int ReportMapWidth = 640;

// Where the stored commands lie in the internal memory.
MemoryLayout ReportedLayout(const GatewayConfig& config);

// The SHA-256 of `text` in lower-case hexadecimal, as sha256sum prints it.
QString FingerprintOf(const QByteArray& text);

// `mapSource` is the src of the memory map picture: a resource name or a data: URI.
QString ReportHtml(const ReportSubject& subject, const MemoryLayout& layout,
                   const QString& mapSource);

}  // namespace kv
