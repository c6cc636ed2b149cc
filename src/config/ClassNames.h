#pragma once
// The names of the six application object classes: COM1, COM2 and Server1..Server4, or
// their class ids 0x65..0x6A. The result is the class index of WorkingCopy.h.

#include <QString>
#include <optional>

namespace kv {

// The class index a name stands for (letter case aside), or nothing.
std::optional<int> ClassIndexOfName(const QString& name);

// "COM1", "COM2", "Server1" .. "Server4".
QString ClassName(int classIndex);

}  // namespace kv
