#pragma once
// A class tab's "Test": probes the class's commands from the working copy against their
// devices (ProbeRun.h) on a thread of its own, never the windows', with a progress bar and
// a Cancel, and shows each instance's outcome when done.

#include <QWidget>
#include <memory>
#include <thread>

#include "config/GatewayConfig.h"
#include "console/StopRequest.h"
#include "modbus/ProbePlan.h"

class QListWidget;
class QProgressBar;
class QPushButton;

namespace kv {

class ClassProbe : public QWidget {
    Q_OBJECT
public:
    // `base` may put servers elsewhere (ProbeSelection::Servers); the class is this one's.
    ClassProbe(const GatewayConfig& config, int classIndex, ProbeSelection base = {},
               QWidget* parent = nullptr);
    // Stops a probe under way and waits for it (a tenth of a second).
    ~ClassProbe() override;

Q_SIGNALS:
    void finished();

private:
    void Start();
    void Show(const QList<ProbeResult>& results);

    const GatewayConfig& config_;
    ProbeSelection selection_;
    QPushButton* test_;
    QPushButton* cancel_;
    QProgressBar* progress_;
    QListWidget* results_;
    std::shared_ptr<StopRequest> stop_;
    std::thread worker_;
};

}  // namespace kv
