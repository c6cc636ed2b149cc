#include "ui/common/ProbePanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/WorkingCopy.h"
#include "modbus/ProbeRun.h"
#include "modbus/ProbeText.h"
#include "ui/common/Dialogs.h"

namespace kv {

namespace {

// "TestClass_3" for class 3, as the editor names a tab's controls; "TestClassAll" for every
// class.
void Name(QWidget* control, const QString& name, std::optional<int> classIndex) {
    control->setObjectName(classIndex ? QStringLiteral("%1_%2").arg(name).arg(*classIndex)
                                      : name + QStringLiteral("All"));
}

}  // namespace

ProbePanel::ProbePanel(const GatewayConfig& config, std::optional<int> classIndex, Dialogs* dialogs,
                       ProbeSelection base, QWidget* parent)
    : QWidget(parent),
      config_(config),
      dialogs_(dialogs),
      selection_(std::move(base)),
      test_(new QPushButton(classIndex ? tr("Test") : tr("Test All"), this)),
      cancel_(new QPushButton(tr("Cancel"), this)),
      progress_(new QProgressBar(this)),
      results_(new QListWidget(this)) {
    selection_.ClassIndex = classIndex;
    Name(test_, "TestClass", classIndex);
    Name(cancel_, "CancelTest", classIndex);
    Name(progress_, "TestProgress", classIndex);
    Name(results_, "TestResults", classIndex);
    test_->setAccessibleName(tr("Test the commands against their devices"));
    cancel_->setAccessibleName(tr("Cancel the test"));
    progress_->setAccessibleName(tr("Test progress"));
    results_->setAccessibleName(tr("Test results"));
    results_->setMaximumHeight(results_->fontMetrics().lineSpacing() * 6);
    cancel_->setEnabled(false);
    progress_->setVisible(false);
    results_->setVisible(false);  // until there are results

    auto* row = new QHBoxLayout;
    if (classIndex && IsSerialClassIndex(*classIndex) && dialogs) {
        device_ = new QLineEdit(this);
        Name(device_, "TestDevice", classIndex);
        device_->setPlaceholderText(QStringLiteral("/dev/ttyUSB0"));
        device_->setAccessibleName(tr("The PC's serial port on this bus"));
        auto* label = new QLabel(tr("PC port on this bus"), this);
        label->setBuddy(device_);
        row->addWidget(label);
        row->addWidget(device_);
    }
    row->addWidget(test_);
    row->addWidget(progress_, 1);
    row->addWidget(cancel_);
    row->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(row);
    layout->addWidget(results_);

    connect(test_, &QPushButton::clicked, this, &ProbePanel::Start);
    connect(cancel_, &QPushButton::clicked, this, [this] { stop_.Request(); });
}

ProbePanel::~ProbePanel() {
    stop_.Request();
    if (worker_) worker_->wait();
}

bool ProbePanel::TakeSerialPort() {
    if (!device_) return true;
    const QString device = device_->text().trimmed();
    selection_.SerialDevices.clear();
    if (device.isEmpty()) return true;  // the commands are listed as not probed
    if (!dialogs_->AskYesNo(QLatin1String(SerialBusHasOneMaster) +
                                tr(" Is the gateway disconnected from this bus, or stopped?"),
                            tr("Test")))
        return false;
    selection_.SerialDevices.insert(*selection_.ClassIndex, device);
    return true;
}

void ProbePanel::Start() {
    if (!TakeSerialPort()) return;
    if (worker_) worker_->wait();  // the last probe, which has ended
    const ProbePlan plan =
        PlanProbes(config_.EditSerialClasses, config_.EditTcpClasses, selection_);
    stop_.Withdraw();
    test_->setEnabled(false);
    cancel_->setEnabled(true);
    progress_->setRange(0, ProbedCommandCount(plan));
    progress_->setValue(0);
    progress_->setVisible(true);
    results_->clear();
    // The thread hands everything back by queued calls, which Qt drops once this is gone;
    // the destructor waits for the thread first.
    worker_.reset(QThread::create([this, plan] {
        const auto probed = [bar = progress_] {
            QMetaObject::invokeMethod(
                bar, [bar] { bar->setValue(bar->value() + 1); }, Qt::QueuedConnection);
        };
        const QList<ProbeResult> results = RunProbes(plan, stop_, probed);
        QMetaObject::invokeMethod(
            this, [this, results] { Show(results); }, Qt::QueuedConnection);
    }));
    worker_->start();
}

void ProbePanel::Show(const QList<ProbeResult>& results) {
    for (const ProbeResult& result : results) results_->addItem(ProbeLine(result));
    results_->addItem(ProbeSummary(results) + u'.');
    results_->setVisible(true);
    Q_EMIT probed({QDateTime::currentDateTime(), results});
    test_->setEnabled(true);
    cancel_->setEnabled(false);
    progress_->setVisible(false);
}

}  // namespace kv
