// The gateway session: one operation at a time, and one owner of the port whatever the
// outcome.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <memory>

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

// A read-out as the windows run it: on COM 3, through the port guard.
TEST_F(GatewaySessionTest, PortIsOpenedOnceAndClosedAfterEveryOutcome) {
    const struct {
        const char* Name;
        int StopAfterLines;  // the gateway falls silent
        PortOpenError OpenError;
        bool Opens;
        bool Succeeds;
    } rows[] = {
        {"read-out", -1, PortOpenError::None, true, true},
        {"silent", 0, PortOpenError::None, true, false},
        {"port refused", -1, PortOpenError::InUse, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        SimulatedGateway gateway;
        gateway.Console.Eeprom = sim::DemoImage();
        gateway.Console.Faults.StopAfterLines = row.StopAfterLines;
        gateway.Port.NextOpenResult = {row.OpenError, {}};
        GatewaySession session(test::DevicesOf(gateway));
        QObject context;
        using Outcome = PortOutcome<bool>;
        std::optional<Outcome> outcome;
        session.Run<Outcome>(
            &context,
            [](ConsoleLink& link, const ProgressFn& progress) {
                return RunOnPort<bool>(link, 3, {}, progress, [](ConsoleLink& open, auto& config) {
                    return ReadGateway(open, config, {}) == ReadOutResult::Ok;
                });
            },
            {}, [&](const Outcome& done) { outcome = done; });
        test::WaitUntilIdle(session);
        ASSERT_TRUE(outcome.has_value());
        EXPECT_EQ(outcome->Opened.ok(), row.Opens);
        EXPECT_EQ(outcome->Value, row.Succeeds);
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
