#include "config/ModbusReference.h"

namespace kv {
namespace {

constexpr int LargestFourDigitNumber = 9999;

}  // namespace

QString ModbusReferenceText(int functionCode, int startAddress) {
    char table = 0;
    switch (functionCode) {
        case 1:
        case 5:
        case 15:
            table = '0';
            break;
        case 2:
            table = '1';
            break;
        case 4:
            table = '3';
            break;
        case 3:
        case 6:
        case 16:
            table = '4';
            break;
        default:
            return {};
    }
    const int number = startAddress + 1;
    const int digits = number > LargestFourDigitNumber ? 5 : 4;
    return QLatin1Char(table) + QStringLiteral("%1").arg(number, digits, 10, QLatin1Char('0'));
}

}  // namespace kv
