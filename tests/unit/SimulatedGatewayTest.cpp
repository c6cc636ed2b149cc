#include "support/SimulatedGateway.h"

#include <gtest/gtest.h>

#include <vector>

namespace kv::test {
namespace {

using namespace std::chrono_literals;

constexpr uint64_t CharacterNs = uint64_t(SimulatedGateway::CharacterTime.count());

class SimulatedGatewayTest : public ::testing::Test {
protected:
    SimulatedGatewayTest() { EXPECT_TRUE(gateway.Port.Open().ok()); }

    uint64_t NowNs() { return gateway.Clock.Microseconds() * 1000; }
    void AdvanceToUs(uint64_t us) {
        ASSERT_GE(us, gateway.Clock.Microseconds());
        gateway.Clock.Advance(std::chrono::microseconds(us - gateway.Clock.Microseconds()));
    }
    // Checks that byte after byte arrives exactly at its time: none a microsecond early.
    void ExpectArrivals(const std::vector<uint64_t>& arrivalNs) {
        for (size_t i = 0; i < arrivalNs.size(); ++i) {
            AdvanceToUs((arrivalNs[i] - 1) / 1000);
            EXPECT_EQ(gateway.Port.BytesWaiting(), int(i)) << "byte " << i << " came early";
            AdvanceToUs((arrivalNs[i] + 999) / 1000);
            EXPECT_EQ(gateway.Port.BytesWaiting(), int(i) + 1) << "byte " << i << " is late";
        }
    }

    SimulatedGateway gateway;
};

TEST_F(SimulatedGatewayTest, EchoAndAnswerArriveOneCharacterTimeApartAfterTheLatency) {
    for (const auto latency : {1000us, 20000us}) {
        gateway.Console.Latency = latency;
        gateway.Port.ClearReceiveBuffer();
        const uint64_t sentNs = NowNs();
        gateway.Port.Write("\r");
        // The carriage return reaches the console after one character time; its echo
        // "\r\n" follows at once, the answer "\r\nq5308RT>" after the latency.
        const uint64_t receivedNs = sentNs + CharacterNs;
        std::vector<uint64_t> arrivals = {receivedNs + CharacterNs, receivedNs + 2 * CharacterNs};
        const uint64_t answerNs = receivedNs + uint64_t(latency.count()) * 1000;
        for (int i = 1; i <= 10; ++i)
            arrivals.push_back(answerNs + i * CharacterNs);
        ExpectArrivals(arrivals);
        EXPECT_EQ(gateway.Port.ReadAll(), QByteArray("\r\n\r\nq5308RT>"));
    }
}

TEST_F(SimulatedGatewayTest, CharactersWrittenTogetherCrossTheLineOneAfterAnother) {
    const uint64_t sentNs = NowNs();
    gateway.Port.Write("ip");
    ExpectArrivals({sentNs + 2 * CharacterNs, sentNs + 3 * CharacterNs});
    EXPECT_EQ(gateway.Port.ReadAll(), QByteArray("ip"));
    EXPECT_EQ(gateway.Port.BytesWaiting(), 0);
}

TEST_F(SimulatedGatewayTest, ReadAllDeliversOnlyWhatHasArrived) {
    gateway.Port.Write("ip\r");
    gateway.Clock.Advance(1500us);
    const QByteArray first = gateway.Port.ReadAll();
    EXPECT_TRUE(first.startsWith("ip\r\n"));
    EXPECT_FALSE(first.contains('>'));
    gateway.Clock.Advance(10ms);
    EXPECT_EQ(first + gateway.Port.ReadAll(), QByteArray("ip\r\nIP=192.168.255.1\r\n\r\nq5308RT>"));
    EXPECT_EQ(gateway.LinesReceived(), QStringList{"ip"});
}

TEST_F(SimulatedGatewayTest, PumpAdvancesTimeAndRunsTheHook) {
    int hookRuns = 0;
    gateway.Pump.EachYield = [&] { ++hookRuns; };
    const uint64_t startUs = gateway.Clock.Microseconds();
    gateway.Pump.Yield(0us);
    gateway.Pump.Yield(250us);
    EXPECT_EQ(gateway.Clock.Microseconds() - startUs, 251u);
    EXPECT_EQ(gateway.Pump.YieldCount, 2);
    EXPECT_EQ(hookRuns, 2);
}

TEST_F(SimulatedGatewayTest, PortFailuresOnDemandAndWhenUnplugged) {
    gateway.Port.Close();
    gateway.Port.NextOpenResult = {PortOpenError::InUse, {}};
    EXPECT_EQ(gateway.Port.Open().Error, PortOpenError::InUse);
    EXPECT_FALSE(gateway.Port.IsOpen());
    EXPECT_TRUE(gateway.Port.Open().ok()) << "the failure is for one open only";
    EXPECT_EQ(gateway.Port.OpenCount, 3);

    gateway.Port.Write("\r");
    gateway.Unplug();
    gateway.Clock.Advance(50ms);
    EXPECT_EQ(gateway.Port.BytesWaiting(), 0);
    gateway.Port.Write("ip\r");
    gateway.Clock.Advance(50ms);
    EXPECT_TRUE(gateway.Port.ReadAll().isEmpty());
    EXPECT_TRUE(gateway.LinesReceived().isEmpty());
    gateway.Port.Close();
    EXPECT_EQ(gateway.Port.Open().Error, PortOpenError::NotOpened);
}

TEST_F(SimulatedGatewayTest, WhatArrivesWhileThePortIsClosedIsLost) {
    gateway.Port.Write("\r");
    gateway.Port.Close();
    gateway.Clock.Advance(50ms);
    EXPECT_TRUE(gateway.Port.Open().ok());
    EXPECT_EQ(gateway.Port.BytesWaiting(), 0);
    EXPECT_EQ(gateway.LinesReceived(), QStringList{""});
}

TEST_F(SimulatedGatewayTest, NeverQuietLineKeepsSendingBlanks) {
    gateway.Console.Faults.NeverQuietAfterLines = 0;
    gateway.Port.Write("\r");
    gateway.Clock.Advance(5ms);
    EXPECT_TRUE(gateway.Port.ReadAll().contains("q5308RT>   "));
    for (int i = 0; i < 3; ++i) {
        gateway.Clock.Advance(std::chrono::microseconds(10 * CharacterNs / 1000 + 1));
        const QByteArray blanks = gateway.Port.ReadAll();
        EXPECT_GE(blanks.size(), 10);
        EXPECT_LE(blanks.size(), 11);
        EXPECT_EQ(blanks.count(' '), blanks.size());
    }
    gateway.Clock.Advance(std::chrono::hours(1));
    EXPECT_EQ(gateway.Port.BytesWaiting(), sim::SerialLine::ReceiveBufferBytes)
        << "the receive buffer overflows";
}

TEST_F(SimulatedGatewayTest, TransmitBufferDrainsUnlessTheTestSaysOtherwise) {
    gateway.Port.Write("quit\r");
    EXPECT_EQ(gateway.Port.BytesToSend(), 0);
    gateway.Port.TransmitStuck = true;
    EXPECT_GT(gateway.Port.BytesToSend(), 0);
}

}  // namespace
}  // namespace kv::test
