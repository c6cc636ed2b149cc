#pragma once
// One tab of the application object editor: the class attribute frame of its class and
// the instance part (instance list, Add/Update/Delete/Erase, the command fields). The same
// class serves the two serial classes and the four TCP connections; only the attribute
// frame differs.

#include <QList>
#include <QWidget>

#include "config/GatewayConfig.h"
#include "modbus/ProbeResult.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace kv {

class ClassAttributesFrame;
class CommandFieldsFrame;
class Dialogs;

class ClassTab : public QWidget {
    Q_OBJECT
public:
    ClassTab(GatewayConfig& config, Dialogs& dialogs, int classIndex, QWidget* parent = nullptr);

    // Shows the class from the working copy: attributes, enabled state and instances.
    void Load();

    // Switch every instance control of the tab, as the class's connection requires.
    void EnableInstAttrSettingAll();
    void DisableInstAttrSettingAll();

private:
    void SetInstancePartEnabled(bool enabled);
    void ConnectionReaction();
    void Add();
    void Update();
    void Delete();
    void Erase();
    void SelectInstance(int slot);
    void ShowInstance(int slot);
    void ShowEntryState(bool entry);
    void SetUpdateDeleteEnabled(bool enabled);
    void ShowOverlapNote(int slot);
    // The last Test's outcome of the instance in `slot`, beside its fields; none: nothing.
    void ShowProbeNote(int slot);
    int CmdCount();
    // The command table as CSV, from and to the working copy (ClassTabCsv.cpp).
    void ExportCsv();
    void ImportCsv();

    GatewayConfig& config_;
    Dialogs& dialogs_;
    int classIndex_;
    ClassAttributesFrame* attributes_;
    CommandFieldsFrame* fields_;
    QComboBox* Instance;
    QPushButton* AddApp;
    QPushButton* EraseMB;
    QPushButton* UpdateApp;
    QPushButton* DeleteApp;
    QPushButton* ExportCsvButton;
    QPushButton* ImportCsvButton;
    // Says, after Add or Update, which other commands the stored one shares memory with.
    QLabel* overlapNote_;
    QLabel* probeNote_;
    QList<ProbeResult> probed_;  // the last Test of this class
};

}  // namespace kv
