#pragma once
// The maker's data that the EDS file names: fixed when the program is built.

namespace kv::eds {

// The maker's DeviceNet vendor code, in decimal in the file.
inline constexpr int VendCode = 1322;
inline constexpr const char* HomeURL = "http://www.tavrin.example/kv-9052r";

}  // namespace kv::eds
