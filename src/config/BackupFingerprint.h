#pragma once
// The fingerprint that tells a backup the program kept before a write from a file that
// only says "Backup": true. A kept backup is written back as it was read, values outside
// the checks included; a hand-made or edited file must not pass for one.
//
// The fingerprint is "sha256:" and the SHA-256, in lower-case hex, of the file's JSON
// object without its "Fingerprint" key, written in its canonical form: compact JSON in
// UTF-8 as QJsonDocument::Compact writes it, that is without blanks, the keys of every
// object in ascending order, whole numbers in plain decimal, texts with only '"', '\' and
// control characters escaped. For what a backup holds (whole numbers, ASCII texts, true)
// this is Python's json.dumps(file, sort_keys=True, separators=(",", ":")).
// Blanks, key order and number spellings ("5.0") of the file on disk do not count; every
// changed value does. It tells an edited file, not a forged one: anyone can compute it.

#include <QJsonObject>
#include <QString>

namespace kv {

QString ContentFingerprint(QJsonObject file);

// "Backup": true with the fingerprint of the content.
bool IsKeptBackup(const QJsonObject& file);

// Why a file that says "Backup": true is checked as any configuration all the same
// ("Backup: <reason>"), or empty when it says no such thing or is a kept backup.
QString IgnoredBackupMark(const QJsonObject& file);

}  // namespace kv
