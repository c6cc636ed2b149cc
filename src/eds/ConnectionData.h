#pragma once
// What a Modbus command contributes to a DeviceNet poll connection: the direction its data
// travels, the attribute of its application object instance that carries the data, and
// the name the EDS file gives that data.

#include <cstdint>

namespace kv {

// Produced data flows from the gateway to the DeviceNet master (the commands that read
// from Modbus devices); consumed data flows the other way (the commands that write).
enum class PollDirection { Produced, Consumed };

// Reading codes 1..4 carry produced data, writing codes 5, 6, 15, 16 consumed data.
bool CarriesDirection(int functionCode, PollDirection direction);

// Attribute of the instance that holds the command's data: 0x0A digital inputs, 0x0B
// digital outputs (coils), 0x0C analog inputs, 0x0D analog outputs (holding registers).
// 0 for a code that carries no data.
uint8_t DataAttributeOf(int functionCode);

// "DI data", "DO data", "AI data" or "AO data"; empty for a code that carries no data.
const char* DataNameOf(int functionCode);

}  // namespace kv
