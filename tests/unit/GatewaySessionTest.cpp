// The gateway session: one operation at a time, and one owner of the port whatever the
// outcome.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <functional>
#include <memory>

#include "save/FactoryReset.h"
#include "save/SaveConfiguration.h"
#include "session/PortOperation.h"
#include "sim/DemoImages.h"
#include "support/SessionOnGateway.h"

namespace kv {
namespace {

using test::SimulatedGateway;

// Queued outcomes need an application object; other tests may have made one already.
class GatewaySessionTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        if (QCoreApplication::instance() == nullptr)
            application_ = std::make_unique<QCoreApplication>(argc_, argv_);
    }
    static void TearDownTestSuite() { application_.reset(); }

private:
    static inline int argc_ = 1;
    static inline char name_[] = "core_tests";
    static inline char* argv_[] = {name_, nullptr};
    static inline std::unique_ptr<QCoreApplication> application_;
};

// An operation as the windows run it: on COM 3, through the port guard.
using Operation = std::function<bool(ConsoleLink&, GatewayConfig&)>;

// Runs `operation` on the session and returns whether the port opened and it succeeded.
struct Ran {
    bool Opened = false;
    bool Succeeded = false;
};
Ran RunOnSession(GatewaySession& session, const GatewayConfig& config, const Operation& operation) {
    QObject context;
    Ran ran;
    using Outcome = PortOutcome<bool>;
    session.Run<Outcome>(
        &context,
        [&](ConsoleLink& link, const ProgressFn& progress) {
            return RunOnPort<bool>(
                link, 3, config, progress,
                [&](ConsoleLink& open, GatewayConfig& copy) { return operation(open, copy); });
        },
        {},
        [&](const Outcome& outcome) {
            ran = {outcome.Opened.ok(), outcome.Value};
        });
    test::WaitUntilIdle(session);
    return ran;
}

TEST_F(GatewaySessionTest, PortIsOpenedOnceAndClosedAfterEveryOutcome) {
    const Operation readOut = [](ConsoleLink& link, GatewayConfig& config) {
        return ReadGateway(link, config, {}) == ReadOutResult::Ok;
    };
    const Operation save = [](ConsoleLink& link, GatewayConfig& config) {
        return SaveConfiguration(link, config, {config.ConnectionPaths, {}, {}}, {}).Status !=
               SaveStatus::Timeout;
    };
    const Operation factoryReset = [](ConsoleLink& link, GatewayConfig& config) {
        return FactoryReset(link, config, {}) == WriteResult::Ok;
    };
    // Each fault is set on the gateway after the read-out, before the operation.
    using Fault = std::function<void(SimulatedGateway&)>;
    const Fault none = [](SimulatedGateway&) {};
    const Fault silent = [](SimulatedGateway& gateway) {
        gateway.Console.Faults.StopAfterLines = 0;
    };
    const Fault unplugged = [](SimulatedGateway& gateway) {
        const int linesBefore = gateway.Console.LinesReceived();
        gateway.Port.EachWait = [&gateway, linesBefore] {
            if (gateway.Console.LinesReceived() == linesBefore + 8) gateway.Unplug();
        };
    };
    const Fault portRefused = [](SimulatedGateway& gateway) {
        gateway.Port.NextOpenResult = {PortOpenError::InUse, {}};
    };
    struct Row {
        const char* Name;
        const Operation& Run;
        const Fault& Inject;
        bool Opens;
        bool Succeeds;
    };
    const Row rows[] = {
        {"read-out", readOut, none, true, true},
        {"read-out, silent", readOut, silent, true, false},
        {"read-out, unplugged", readOut, unplugged, true, false},
        {"read-out, port refused", readOut, portRefused, false, false},
        {"save", save, none, true, true},
        {"save, silent", save, silent, true, false},
        {"save, unplugged", save, unplugged, true, false},
        {"factory reset", factoryReset, none, true, true},
        {"factory reset, unplugged", factoryReset, unplugged, true, false},
        {"factory reset, port refused", factoryReset, portRefused, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        SimulatedGateway gateway;
        gateway.Console.Eeprom = sim::DemoImage();
        GatewaySession session(test::DevicesOf(gateway));
        // The windows read the gateway on the session before they write it.
        GatewayConfig config;
        ASSERT_GE(test::ReadOnSession(session, gateway, config), 0);
        gateway.Port.OpenCount = 0;
        row.Inject(gateway);

        const Ran ran = RunOnSession(session, config, row.Run);
        EXPECT_EQ(ran.Opened, row.Opens);
        EXPECT_EQ(ran.Succeeded, row.Succeeds);
        EXPECT_EQ(gateway.Port.OpenCount, 1);
        EXPECT_FALSE(gateway.Port.IsOpen());
    }
}

TEST_F(GatewaySessionTest, ASecondRequestWhileOneRunsIsRefused) {
    SimulatedGateway gateway;
    GatewaySession session(test::DevicesOf(gateway));
    QObject context;
    QStringList finished;
    const auto read = [](ConsoleLink& link, const ProgressFn&) {
        GatewayConfig config;
        PortGuard guard(link.Port());
        return ReadGateway(link, config, {}) == ReadOutResult::Ok;
    };
    const auto note = [&](const QString& name) {
        return [&finished, name](bool) { finished << name; };
    };
    EXPECT_TRUE(session.Run<bool>(&context, read, {}, note("first")));
    EXPECT_FALSE(session.Run<bool>(&context, read, {}, note("second")));
    test::WaitUntilIdle(session);
    EXPECT_EQ(finished, QStringList{"first"});
    EXPECT_EQ(gateway.LinesReceived().count("use eeprom"), 1);

    // Once the first has ended, the next is taken.
    EXPECT_TRUE(session.Run<bool>(&context, read, {}, note("third")));
    test::WaitUntilIdle(session);
    EXPECT_EQ(finished, (QStringList{"first", "third"}));
}

}  // namespace
}  // namespace kv
