#include "ui/common/ProbePanel.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "modbus/ProbeRun.h"
#include "modbus/ProbeText.h"
#include "ui/appobj/ControlNames.h"

namespace kv {

namespace {

// "TestClass_3" for class 3; "TestClassAll" for every class.
void Name(QWidget* control, const QString& name, std::optional<int> classIndex) {
    if (classIndex) return NameControl(control, name, *classIndex);
    control->setObjectName(name + QStringLiteral("All"));
}

}  // namespace

ProbePanel::ProbePanel(const GatewayConfig& config, std::optional<int> classIndex,
                       ProbeSelection base, QWidget* parent)
    : QWidget(parent),
      config_(config),
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
    if (worker_.joinable()) worker_.join();
}

void ProbePanel::Start() {
    if (worker_.joinable()) worker_.join();  // the last probe, which has ended
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
    worker_ = std::thread([this, plan] {
        const auto probed = [bar = progress_] {
            QMetaObject::invokeMethod(
                bar, [bar] { bar->setValue(bar->value() + 1); }, Qt::QueuedConnection);
        };
        const QList<ProbeResult> results = RunProbes(plan, stop_, probed);
        QMetaObject::invokeMethod(
            this, [this, results] { Show(results); }, Qt::QueuedConnection);
    });
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
