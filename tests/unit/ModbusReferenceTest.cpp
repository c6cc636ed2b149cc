#include <gtest/gtest.h>

#include "config/ModbusReference.h"

namespace kv {
namespace {

TEST(ModbusReference, TableDigitThenOneBasedItemNumber) {
    const struct {
        int functionCode, startAddress;
        const char* reference;
    } rows[] = {
        {1, 0, "00001"}, {5, 9998, "09999"}, {15, 9999, "010000"}, {2, 99, "10100"},
        {4, 0, "30001"}, {3, 0, "40001"},    {6, 12, "40013"},     {16, 65535, "465536"},
        {3, 65536, ""},  {3, -1, ""},        {7, 0, ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ModbusReferenceText(row.functionCode, row.startAddress),
                  QString::fromLatin1(row.reference))
            << "FC" << row.functionCode << " at " << row.startAddress;
}

}  // namespace
}  // namespace kv
