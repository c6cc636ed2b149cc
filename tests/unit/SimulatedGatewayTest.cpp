// A minimal sanity check of the virtual gateway the other tests lean on: bytes take line
// time to arrive, and a read only gets what has arrived.

#include <gtest/gtest.h>

#include "support/SimulatedGateway.h"

namespace kv::test {
namespace {

using namespace std::chrono_literals;

TEST(SimulatedGateway, ReadAllDeliversOnlyWhatHasArrived) {
    SimulatedGateway gateway;
    ASSERT_TRUE(gateway.Port.Open().ok());
    gateway.Port.Write("ip\r");
    gateway.Clock.Advance(1500us);
    const QByteArray first = gateway.Port.ReadAll();
    EXPECT_TRUE(first.startsWith("ip\r\n"));
    EXPECT_FALSE(first.contains('>'));
    gateway.Clock.Advance(10ms);
    EXPECT_EQ(first + gateway.Port.ReadAll(), QByteArray("ip\r\nIP=192.168.255.1\r\n\r\nq5308RT>"));
    EXPECT_EQ(gateway.LinesReceived(), QStringList{"ip"});
}

}  // namespace
}  // namespace kv::test
