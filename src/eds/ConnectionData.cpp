#include "eds/ConnectionData.h"

#include "config/FunctionCodes.h"

namespace kv {

namespace {

constexpr uint8_t DigitalInputs = 0x0A;
constexpr uint8_t DigitalOutputs = 0x0B;
constexpr uint8_t AnalogInputs = 0x0C;
constexpr uint8_t AnalogOutputs = 0x0D;

}  // namespace

bool CarriesDirection(int functionCode, PollDirection direction) {
    return direction == PollDirection::Produced ? IsReadingCode(functionCode)
                                                : IsWritingCode(functionCode);
}

uint8_t DataAttributeOf(int functionCode) {
    switch (functionCode) {
        case 1:
        case 5:
        case 15:
            return DigitalOutputs;
        case 2:
            return DigitalInputs;
        case 3:
        case 6:
        case 16:
            return AnalogOutputs;
        case 4:
            return AnalogInputs;
        default:
            return 0;
    }
}

const char* DataNameOf(int functionCode) {
    switch (DataAttributeOf(functionCode)) {
        case DigitalInputs:
            return "DI data";
        case DigitalOutputs:
            return "DO data";
        case AnalogInputs:
            return "AI data";
        case AnalogOutputs:
            return "AO data";
        default:
            return "";
    }
}

}  // namespace kv
