#include "modbus/ProbeRun.h"

#include <QThread>
#include <algorithm>
#include <memory>
#include <vector>

#include "modbus/SerialBusProbe.h"
#include "modbus/TcpServerProbe.h"

namespace kv {

int ProbedCommandCount(const ProbePlan& plan) {
    int count = 0;
    const auto countTried = [&count](const QList<PlannedProbe>& commands) {
        for (const PlannedProbe& command : commands) count += command.Read.has_value();
    };
    for (const TcpServerPlan& server : plan.Servers) countTried(server.Commands);
    for (const SerialBusPlan& bus : plan.Buses) countTried(bus.Commands);
    return count;
}

QList<ProbeResult> RunProbes(const ProbePlan& plan, const StopRequest& stop,
                             const CommandProbed& probed) {
    const qsizetype servers = plan.Servers.size();
    std::vector<QList<ProbeResult>> perLink(size_t(servers + plan.Buses.size()));
    // Threads Qt starts: a serial port's notifier works on no other.
    std::vector<std::unique_ptr<QThread>> threads;
    for (qsizetype i = 0; i < servers; ++i)
        threads.emplace_back(QThread::create([&plan, &perLink, &stop, &probed, i] {
            perLink[size_t(i)] = ProbeTcpServer(plan.Servers[i], stop, probed);
        }));
    for (qsizetype i = 0; i < plan.Buses.size(); ++i)
        threads.emplace_back(QThread::create([&plan, &perLink, &stop, &probed, i, servers] {
            perLink[size_t(servers + i)] = ProbeSerialBus(plan.Buses[i], stop, probed);
        }));
    for (const auto& thread : threads) thread->start();
    for (const auto& thread : threads) thread->wait();
    QList<ProbeResult> results = plan.Unprobed;
    for (const QList<ProbeResult>& link : perLink) results += link;
    std::stable_sort(
        results.begin(), results.end(), [](const ProbeResult& a, const ProbeResult& b) {
            return std::pair(a.ClassIndex, a.Instance) < std::pair(b.ClassIndex, b.Instance);
        });
    return results;
}

}  // namespace kv
