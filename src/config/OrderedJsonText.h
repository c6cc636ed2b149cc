#pragma once
// JSON text whose keys follow a given order. QJsonObject keeps its keys sorted, so a file
// written through QJsonDocument lists "ComBaudIndex" before "Format" and a command's
// "FunctionCode" before its "NetId"; files that people read and keep in git should read in
// one documented order instead. The text is built here from the object's (key, value)
// pairs in that order; values are written as QJsonDocument writes them.

#include <QByteArray>
#include <QJsonObject>
#include <QStringList>
#include <functional>

namespace kv {

// The keys of an object in the order to write them, by the key that holds the object ("" for
// the outermost object; the objects of a list are held by the list's key). Keys it does not
// name follow in ascending order.
using KeyOrder = std::function<QStringList(const QString& holderKey)>;

// Indented by four blanks, one key of an object per line; a list of numbers and texts on
// one line ("[101, 1, 13]"), a list that holds objects or lists one item per line. Ends in
// a line break.
QByteArray OrderedJsonText(const QJsonObject& object, const KeyOrder& order);

}  // namespace kv
