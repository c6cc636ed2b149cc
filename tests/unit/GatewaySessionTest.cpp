// The gateway session runs one operation at a time. That it takes the next once one has
// ended, and how the port is opened and closed around the windows' operations whatever
// their outcome: MainWindowTest.

#include <gtest/gtest.h>

#include "support/CoreApplication.h"
#include "support/SessionOnGateway.h"

namespace kv {
namespace {

TEST(GatewaySession, ASecondRequestWhileOneRunsIsRefused) {
    test::EnsureCoreApplication();
    test::SimulatedGateway gateway;
    GatewaySession session(test::DevicesOf(gateway));
    QObject context;
    QStringList finished;
    const auto work = [](ConsoleLink&, const ProgressFn&) { return true; };
    const auto note = [&](const QString& name) {
        return [&finished, name](bool) { finished << name; };
    };
    EXPECT_TRUE(session.Run<bool>(&context, work, {}, note("first")));
    EXPECT_FALSE(session.Run<bool>(&context, work, {}, note("second")));
    test::WaitUntilIdle(session);
    EXPECT_EQ(finished, QStringList{"first"});
}

}  // namespace
}  // namespace kv
