#include "modbus/ProbeRun.h"

#include <algorithm>
#include <thread>
#include <vector>

#include "modbus/TcpServerProbe.h"

namespace kv {

QList<ProbeResult> RunProbes(const ProbePlan& plan, const StopRequest& stop) {
    std::vector<QList<ProbeResult>> perServer(size_t(plan.Servers.size()));
    {
        std::vector<std::jthread> threads;
        for (size_t i = 0; i < perServer.size(); ++i)
            threads.emplace_back([&plan, &perServer, &stop, i] {
                perServer[i] = ProbeTcpServer(plan.Servers[qsizetype(i)], stop);
            });
    }
    QList<ProbeResult> results = plan.Unprobed;
    for (const QList<ProbeResult>& server : perServer) results += server;
    std::stable_sort(
        results.begin(), results.end(), [](const ProbeResult& a, const ProbeResult& b) {
            return std::pair(a.ClassIndex, a.Instance) < std::pair(b.ClassIndex, b.Instance);
        });
    return results;
}

}  // namespace kv
