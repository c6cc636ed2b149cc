// "Export Report...": asks what the report says of the plant (ReportFieldsDialog), then for
// the file through the session's dialogs, so that tests answer, and writes the report on a
// thread of its own: a large PDF takes a moment, and the window
// stays alive meanwhile. Text layout, the PDF writer and image painting need no window
// thread; the message comes back to the window when the thread ends.

#include "ui/main/ReportMenu.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QThread>
#include <memory>

#include "config/ConfigFile.h"
#include "platform/PortNaming.h"
#include "report/ReportFile.h"
#include "ui/common/Session.h"
#include "ui/main/ReportFieldsDialog.h"

namespace kv {
namespace {

const char* const ReportFileFilter = "Report (*.pdf *.html)";
const char* const ReportTitle = "Export Report";

// The fingerprint is of the text Save Configuration As writes for what is loaded.
ReportSubject SubjectOf(const Session& session, const ReportParties& parties) {
    const QString source = session.OpenedFile.isEmpty() ? ComPortText(session.PortNumber)
                                                        : QFileInfo(session.OpenedFile).fileName();
    ReportSubject subject =
        WholeConfigSubject(session.Config, source,
                           QStringLiteral("the configuration as Save Configuration As writes it"));
    subject.Parties = parties;
    subject.Probes = session.Probes;
    return subject;
}

void ExportReport(Session& session, QWidget& window, QAction& action,
                  const ReportParties& parties) {
    const QString path = session.Dialogs.SaveFileName(ReportFileFilter, {},
                                                      QStringLiteral("commissioning-report.pdf"));
    if (path.isEmpty()) return;
    if (!ReportFormatOf(path)) {
        session.Dialogs.Message(path + QStringLiteral(": a report is named .pdf or .html."),
                                ReportTitle);
        return;
    }
    auto failure = std::make_shared<QString>();
    QThread* thread = QThread::create([subject = SubjectOf(session, parties), path, failure] {
        *failure = WriteReport(subject, path);
    });
    action.setEnabled(false);
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    // The program may end while the report is written: the file is finished first.
    QObject::connect(&window, &QObject::destroyed, thread, [thread] { thread->wait(); });
    QObject::connect(thread, &QThread::finished, &window, [&session, &action, path, failure] {
        action.setEnabled(true);
        session.Dialogs.Message(
            failure->isEmpty() ? QStringLiteral("The report was written to %1.").arg(path)
                               : QStringLiteral("%1: %2\nNothing was written.").arg(path, *failure),
            ReportTitle);
    });
    thread->start();
}

}  // namespace

void AddExportReport(QMenu& file, Session& session, QWidget& window, std::function<bool()> loaded) {
    QAction* action = file.addAction(QStringLiteral("Export Re&port..."));
    action->setObjectName(QStringLiteral("MenuExportReport"));
    // One for the window, so that its fields keep what was typed for the next report.
    auto* fields = new ReportFieldsDialog(&window);
    QObject::connect(action, &QAction::triggered, fields, [fields, loaded = std::move(loaded)] {
        if (loaded()) fields->open();
    });
    QObject::connect(fields, &QDialog::accepted, &window, [&session, &window, action, fields] {
        ExportReport(session, window, *action, fields->Parties());
    });
}

}  // namespace kv
