#include <gtest/gtest.h>

#include "sim/SimOptions.h"

namespace kv::sim {
namespace {

ParsedSimOptions Parse(QStringList arguments) {
    arguments.prepend("kv9052r-gateway-sim");
    return ParseSimOptions(arguments);
}

TEST(SimOptionsTest, ReadsEveryOption) {
    // --eeprom, --demo and --stop-after: the end-to-end tests.
    const ParsedSimOptions parsed =
        Parse({"--model", "vMAR-5308RT_LAN", "--eeprom", "/tmp/e", "--demo", "--com", "16",
               "--latency-ms", "2.5", "--no-line-speed", "--stop-after", "40", "--garble",
               "--never-quiet"});
    ASSERT_TRUE(parsed.Options.has_value()) << parsed.Error.toStdString();
    const SimOptions& options = *parsed.Options;
    EXPECT_EQ(options.Model, ControllerModel::VMar5308RtLan);
    EXPECT_EQ(options.ComNumber, 16);
    EXPECT_EQ(options.Latency, std::chrono::microseconds(2500));
    EXPECT_FALSE(options.LineSpeed);
    EXPECT_EQ(options.Faults.GarbleAfterLines, 0);
    EXPECT_EQ(options.Faults.NeverQuietAfterLines, 0);
}

TEST(SimOptionsTest, RefusesWhatItCannotServe) {
    for (const QStringList& wrong : {QStringList{"--model", "q5308rt"},
                                     {"--com", "0"},
                                     {"--com", "17"},
                                     {"--com", "x"},
                                     {"--latency-ms", "-1"},
                                     {"--latency-ms", "nan"},
                                     {"--stop-after", "-2"},
                                     {"--demo", "--factory"},
                                     {"--colour"},
                                     {"stray"}}) {
        const ParsedSimOptions parsed = Parse(wrong);
        EXPECT_FALSE(parsed.Options.has_value()) << wrong.join(' ').toStdString();
        EXPECT_FALSE(parsed.Error.isEmpty()) << wrong.join(' ').toStdString();
    }
    EXPECT_TRUE(Parse({"--help"}).Help.contains("--never-quiet"));
}

}  // namespace
}  // namespace kv::sim
