// The main window as the editor of one configuration: "Open Configuration...", "Open
// Recent", "Save Configuration As...", a file dropped on the window or named on the command
// line, the question before unsaved changes would be lost, and the title that names what is
// loaded.

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

#include "config/ConfigFile.h"
#include "save/OpenConfiguration.h"
#include "ui/common/UserSettings.h"
#include "ui/main/Main_F.h"

namespace kv {
namespace {

const char* const ConfigFileFilter = "Configuration (*.json)";
const char* const OpenTitle = "Open Configuration";
const char* const SaveTitle = "Save Configuration As";
const char* const UnsavedText =
    "The configuration has changes that are in no gateway and no file. Save them to a file "
    "first?";
const char* const UnsavedTitle = "Unsaved Changes";
const char* const WindowCaption = "General Setting";

// The one local file a drag carries, or nothing.
QString DroppedFile(const QMimeData* data) {
    if (!data || data->urls().size() != 1 || !data->urls().first().isLocalFile()) return {};
    return data->urls().first().toLocalFile();
}

}  // namespace

bool Main_F::MayDiscardChanges() {
    if (!HasUnsavedChanges(session_)) return true;
    switch (session_.Dialogs.AskToSaveChanges(UnsavedText, UnsavedTitle)) {
        case UnsavedChoice::Save:
            return SaveConfigurationAs();
        case UnsavedChoice::Discard:
            return true;
        case UnsavedChoice::Cancel:
            break;
    }
    return false;
}

void Main_F::OpenConfiguration() {
    if (session_.Gateway.IsBusy() || !MayDiscardChanges()) return;
    const QString path =
        session_.Dialogs.OpenFileName(ConfigFileFilter, UserSettings().Folder(), {});
    if (!path.isEmpty()) LoadConfigurationFile(path);
}

void Main_F::OpenConfigurationPath(const QString& path) {
    if (!session_.Gateway.IsBusy() && MayDiscardChanges()) LoadConfigurationFile(path);
}

void Main_F::LoadConfigurationFile(const QString& path) {
    const OpenedConfiguration opened = OpenConfigurationFile(path);
    if (!opened.ok()) {
        session_.Dialogs.Message(opened.Errors.join(u'\n'), OpenTitle);
        return;
    }
    session_.Config = opened.Config;
    session_.Probes.clear();  // they were of the configuration before
    session_.OpenedFile = path;
    MarkSaved(session_);
    RememberRecentFile(path);
    ResetLook();
    for (int i = 0; i < PanelCount; ++i) PaintToggle(i, false);
    selectedPanel_ = NoPanel;
    ShowConnectedLook();
    // A file without firmware data holds no firmware to show.
    if (opened.Config.FirmwareInfo == FirmwareInfo{}) FirmwareVer->clear();
}

void Main_F::FillRecentMenu() {
    MenuRecent->clear();
    for (const QString& path : UserSettings().RecentFiles()) {
        QAction* entry = MenuRecent->addAction(QFileInfo(path).fileName());
        entry->setToolTip(path);
        connect(entry, &QAction::triggered, this, [this, path] {
            if (QFileInfo::exists(path)) return OpenConfigurationPath(path);
            UserSettings().RemoveRecentFile(path);
            session_.Dialogs.Message(
                QStringLiteral("%1 no longer exists; it is taken off the list.").arg(path),
                OpenTitle);
        });
    }
    MenuRecent->setEnabled(!MenuRecent->isEmpty());
}

// The list is made anew each time the menu opens; a menu that was empty must open now.
void Main_F::RememberRecentFile(const QString& path) {
    UserSettings().AddRecentFile(path);
    MenuRecent->setEnabled(true);
}

// Only a configuration read or opened is saved; before that there is none.
bool Main_F::SaveConfigurationAs() {
    if (session_.Gateway.IsBusy() || !Connected_) return false;
    QString path = session_.Dialogs.SaveFileName(ConfigFileFilter, UserSettings().Folder(), {});
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".json");
        // The dialog asked about the name as typed, not about the file it becomes.
        if (QFileInfo::exists(path) &&
            !session_.Dialogs.Confirm(
                QStringLiteral("%1 already exists. Do you want to replace it?").arg(path),
                SaveTitle, QStringLiteral("Replace")))
            return false;
    }
    const QString failure = WriteConfigFile(path, session_.Config);
    if (!failure.isEmpty()) {
        session_.Dialogs.Message(path + QStringLiteral(": ") + failure, SaveTitle);
        return false;
    }
    MarkSaved(session_);
    RememberRecentFile(path);
    UpdateTitle();
    return true;
}

void Main_F::UpdateTitle() {
    QString loaded;
    if (!session_.OpenedFile.isEmpty())
        loaded = QFileInfo(session_.OpenedFile).fileName();
    else if (Connected_)
        loaded = QStringLiteral("COM %1, node %2")
                     .arg(session_.PortNumber)
                     .arg(session_.Config.DeviceNetParams.NodeId);
    setWindowTitle(loaded.isEmpty() ? QString::fromLatin1(WindowCaption)
                                    : QStringLiteral("%1 - %2[*]").arg(WindowCaption, loaded));
    setWindowModified(HasUnsavedChanges(session_));
}

void Main_F::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void Main_F::dropEvent(QDropEvent* event) {
    const QString path = DroppedFile(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    OpenConfigurationPath(path);
}

}  // namespace kv
