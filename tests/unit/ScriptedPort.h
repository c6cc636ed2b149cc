#pragma once
// A serial port whose incoming bytes follow a script in simulated time, and a pump that
// moves the fake clock on by the wait it is given. For tests of the console link's timing
// without the console emulator.

#include <QByteArray>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "platform/SerialPort.h"
#include "support/FakeClock.h"

namespace kv::test {

// Bytes that reach the PC a given time after a moment of the script.
struct ScriptedChunk {
    std::chrono::microseconds After;
    QByteArray Bytes;
};

class ScriptedPort : public SerialPort {
public:
    explicit ScriptedPort(FakeClock& clock) : clock_(clock) {}

    // Bytes that arrive `after` from now.
    void Arrive(std::chrono::microseconds after, const QByteArray& bytes) {
        scheduled_.emplace(clock_.Microseconds() + uint64_t(after.count()), bytes);
    }
    // The console's answer to the next line: scheduled when its carriage return is written.
    void AnswerNextLine(std::vector<ScriptedChunk> chunks) { answer_ = std::move(chunks); }

    QByteArray Written;                  // every byte the link wrote, in order
    std::vector<uint64_t> WriteTimesUs;  // the simulated time of each of them
    int StuckTransmitBytes = 0;          // what BytesToSend reports
    int TransmitBufferReads = 0;
    // Simulated time each look at the receive buffer takes, so that bytes streaming in
    // can arrive between two looks as they do on a real line.
    std::chrono::microseconds LookTakes{0};

    void SelectPort(int number) override { selected_ = number; }
    int SelectedPort() const override { return selected_; }
    PortOpenResult Open() override { return {}; }
    void Close() override {}
    bool IsOpen() const override { return true; }
    void ClearReceiveBuffer() override {
        Deliver();
        received_.clear();
    }
    int BytesWaiting() override {
        clock_.Advance(LookTakes);
        Deliver();
        return int(received_.size());
    }
    QByteArray ReadAll() override {
        Deliver();
        return std::exchange(received_, {});
    }
    int BytesToSend() override {
        ++TransmitBufferReads;
        return StuckTransmitBytes;
    }
    // Sleeps for the whole wait, as a port does when nothing arrives.
    void WaitForData(std::chrono::microseconds maxWait) override { clock_.Advance(maxWait); }
    void Write(const QByteArray& bytes) override {
        for (const char byte : bytes) {
            Written += byte;
            WriteTimesUs.push_back(clock_.Microseconds());
            if (byte == '\r') ScheduleAnswer();
        }
    }

private:
    void ScheduleAnswer() {
        for (const ScriptedChunk& chunk : answer_) Arrive(chunk.After, chunk.Bytes);
        answer_.clear();
    }
    // Moves every chunk whose time has come into the receive buffer, in time order.
    void Deliver() {
        const auto due = scheduled_.upper_bound(clock_.Microseconds());
        for (auto chunk = scheduled_.begin(); chunk != due; ++chunk) received_ += chunk->second;
        scheduled_.erase(scheduled_.begin(), due);
    }

    FakeClock& clock_;
    int selected_ = 1;
    std::multimap<uint64_t, QByteArray> scheduled_;  // by arrival time in microseconds
    std::vector<ScriptedChunk> answer_;
    QByteArray received_;
};

}  // namespace kv::test
