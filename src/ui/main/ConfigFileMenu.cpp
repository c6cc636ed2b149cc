// The main window's "Open Configuration..." and "Save Configuration As...": a configuration
// kept as a file, opened to edit and save as if it had been read from a gateway.

#include <QFileInfo>
#include <QLineEdit>

#include "config/ConfigFile.h"
#include "save/OpenConfiguration.h"
#include "ui/main/Main_F.h"

namespace kv {
namespace {

const char* const ConfigFileFilter = "Configuration (*.json)";
const char* const OpenTitle = "Open Configuration";
const char* const SaveTitle = "Save Configuration As";

}  // namespace

void Main_F::OpenConfiguration() {
    if (session_.ConnectBusy) return;
    const QString path = session_.Dialogs.OpenFileName(ConfigFileFilter, {}, {});
    if (path.isEmpty()) return;
    const OpenedConfiguration opened = OpenConfigurationFile(path);
    if (!opened.ok()) {
        session_.Dialogs.Message(opened.Errors.join(u'\n'), OpenTitle);
        return;
    }
    session_.Config = opened.Config;
    ResetLook();
    for (int i = 0; i < PanelCount; ++i) PaintToggle(i, false);
    selectedPanel_ = NoPanel;
    ShowConnectedLook();
    session_.OpenedFile = path;
    FirmwareVer->setText(QFileInfo(path).fileName());
}

// Only a configuration read or opened is saved; before that there is none.
void Main_F::SaveConfigurationAs() {
    if (session_.ConnectBusy || !Connected_) return;
    const QString path = session_.Dialogs.SaveFileName(ConfigFileFilter, {}, {});
    if (path.isEmpty()) return;
    const QString failure = WriteConfigFile(path, session_.Config);
    if (!failure.isEmpty())
        session_.Dialogs.Message(path + QStringLiteral(": ") + failure, SaveTitle);
}

}  // namespace kv
