#pragma once
// A class tab's "Test" (or the object view's "Test All", for every class): probes the
// commands of the working copy against their devices (ProbeRun.h) on a thread of its own,
// never the windows', with a progress bar and a Cancel, and shows each instance's outcome
// when done.

#include <QThread>
#include <QWidget>
#include <memory>

#include "config/GatewayConfig.h"
#include "console/StopRequest.h"
#include "modbus/ProbePlan.h"
#include "modbus/ProbeRecord.h"

class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace kv {

class Dialogs;

class ProbePanel : public QWidget {
    Q_OBJECT
public:
    // Probes the class of `classIndex`, or every class without one. A serial class with
    // `dialogs` gets a field for the PC's port on its bus, and the question whether the bus
    // is free. `base` may put servers elsewhere (ProbeSelection::Servers).
    ProbePanel(const GatewayConfig& config, std::optional<int> classIndex, Dialogs* dialogs,
               ProbeSelection base = {}, QWidget* parent = nullptr);
    // Stops a probe under way and waits for it (a tenth of a second).
    ~ProbePanel() override;

Q_SIGNALS:
    // A probe has ended (also after Cancel), with what it found.
    void probed(const kv::ProbeRecord& record);

private:
    void Start();
    // Takes the serial port the user named, when the bus is free; false to not start.
    bool TakeSerialPort();
    void Show(const QList<ProbeResult>& results);

    const GatewayConfig& config_;
    Dialogs* dialogs_;
    ProbeSelection selection_;
    QLineEdit* device_ = nullptr;  // the PC's port on a serial class's bus
    QPushButton* test_;
    QPushButton* cancel_;
    QProgressBar* progress_;
    QListWidget* results_;
    StopRequest stop_;                 // Cancel's, asked by the probe's threads
    std::unique_ptr<QThread> worker_;  // one Qt starts, for the serial port's notifier
};

}  // namespace kv
