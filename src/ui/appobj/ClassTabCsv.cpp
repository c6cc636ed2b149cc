// A tab's "Export CSV..." and "Import CSV...": the class's command table in the working
// copy written to or replaced from a CSV file, with the editor's checks.

#include "config/ClassNames.h"
#include "config/CommandTableCsv.h"
#include "config/WorkingCopy.h"
#include "platform/LimitedFile.h"
#include "platform/WholeFile.h"
#include "ui/appobj/ClassTab.h"
#include "ui/common/Dialogs.h"

namespace kv {
namespace {

const char* const CsvFilter = "Command table (*.csv)";
const char* const CsvTitle = "Command Table";

}  // namespace

void ClassTab::ExportCsv() {
    const QString path =
        dialogs_.SaveFileName(CsvFilter, {}, ClassName(classIndex_) + QStringLiteral(".csv"));
    if (path.isEmpty()) return;
    const QString failure =
        WriteWholeFile(path, CommandTableCsv(CommandsOfClass(config_, classIndex_, true)));
    if (!failure.isEmpty()) dialogs_.Message(path + QStringLiteral(": ") + failure, CsvTitle);
}

void ClassTab::ImportCsv() {
    const QString path = dialogs_.OpenFileName(CsvFilter, {}, {});
    if (path.isEmpty()) return;
    QByteArray bytes;
    if (const QString failure = ReadInputFile(path, bytes); !failure.isEmpty()) {
        dialogs_.Message(path + QStringLiteral(": ") + failure, CsvTitle);
        return;
    }
    const CommandTableRead table = ReadCommandTableCsv(bytes, MaxInstances(classIndex_));
    if (!table.ok()) {
        dialogs_.Message(table.Errors.join(u'\n'), CsvTitle);
        return;
    }
    SetCommandsOfClass(config_, classIndex_, true, table.Commands);
    Load();
}

}  // namespace kv
