#pragma once
// Writing a commissioning report: a PDF (A4, "page x of y" on each page, tables that run onto
// the next page repeat their header, pictures stored without loss) or one self-contained HTML
// file with the memory map inline as a PNG.
// Fonts and painting need a QGuiApplication; any thread may write a report.

#include <QString>
#include <optional>

#include "report/ReportSubject.h"

namespace kv {

enum class ReportFormat { Pdf, Html };

// By the suffix of `path`: .pdf, or .html and .htm, letter case aside; empty for another.
std::optional<ReportFormat> ReportFormatOf(const QString& path);

// Writes the report whole or not at all, in the format its suffix names. Empty on success,
// else the reason, which does not name the path.
QString WriteReport(const ReportSubject& subject, const QString& path);

}  // namespace kv
