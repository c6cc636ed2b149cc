#include "config/ClassNames.h"

#include "config/WorkingCopy.h"

namespace kv {
namespace {

constexpr int FirstClassId = 0x65;

}  // namespace

QString ClassName(int classIndex) {
    return IsSerialClassIndex(classIndex)
               ? QStringLiteral("COM%1").arg(classIndex + 1)
               : QStringLiteral("Server%1").arg(classIndex - SerialClassCount + 1);
}

std::optional<int> ClassIndexOfName(const QString& name) {
    const QString given = name.trimmed();
    for (int index = 0; index < ClassIndexCount; ++index) {
        if (given.compare(ClassName(index), Qt::CaseInsensitive) == 0) return index;
    }
    bool isNumber = false;
    const int id = given.toInt(&isNumber, 0);
    if (isNumber && id >= FirstClassId && id < FirstClassId + ClassIndexCount)
        return id - FirstClassId;
    return std::nullopt;
}

}  // namespace kv
