#pragma once
// A virtual gateway read the way the main window reads it, with the editor's working
// copy made, ready for a save or a factory reset on an open port.

#include <gtest/gtest.h>

#include <QList>

#include "config/EepromCodec.h"
#include "support/ReadForEditing.h"

namespace kv::test {

class SaveTestGateway {
public:
    explicit SaveTestGateway(const EepromImage& image) {
        Gateway.Console.Eeprom = image;
        Before = image;
        ReadLines = ReadForEditing(Gateway, Link, Config);
        EXPECT_GE(ReadLines, 0);
        EXPECT_TRUE(Gateway.Port.Open().ok());
    }

    // The lines of the last operation only, without those of the read-out.
    QStringList LinesSent() const { return Gateway.LinesReceived().mid(ReadLines); }

    // "block N" and "e A" lines: the order of the edit sequences.
    QStringList EditSequences() const {
        QStringList sequences;
        for (const QString& line : LinesSent())
            if (line.startsWith("block ") || line.startsWith("e ")) sequences << line;
        return sequences;
    }

    const EepromBlock& Block(int block) const { return Gateway.Console.Eeprom.Blocks[block]; }

    std::vector<uint8_t> Bytes(int block, int address, int count) const {
        const auto& b = Block(block);
        return {b.begin() + address, b.begin() + address + count};
    }

    SimulatedGateway Gateway;
    ConsoleLink Link{Gateway.Port, Gateway.Clock};
    GatewayConfig Config;
    EepromImage Before;
    QList<int> Progress;
    ProgressFn Record = [this](int value) { Progress.append(value); };
    int ReadLines = 0;
};

}  // namespace kv::test
