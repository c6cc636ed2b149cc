#include "config/BackupFingerprint.h"

#include <QCryptographicHash>
#include <QJsonDocument>

#include "config/ConfigJson.h"

namespace kv {
namespace {

const QLatin1String BackupKey(ConfigBackupKey);
const QLatin1String FingerprintKey(ConfigFingerprintKey);
const QLatin1String Sha256Prefix("sha256:");

bool FingerprintMatches(const QJsonObject& file) {
    return file.value(FingerprintKey)
               .toString()
               .compare(ContentFingerprint(file), Qt::CaseInsensitive) == 0;
}

}  // namespace

QString ContentFingerprint(QJsonObject file) {
    file.remove(FingerprintKey);
    const QByteArray canonical = QJsonDocument(file).toJson(QJsonDocument::Compact);
    return Sha256Prefix +
           QString::fromLatin1(
               QCryptographicHash::hash(canonical, QCryptographicHash::Sha256).toHex());
}

bool IsKeptBackup(const QJsonObject& file) {
    return file.value(BackupKey).toBool() && FingerprintMatches(file);
}

QString IgnoredBackupMark(const QJsonObject& file) {
    if (!file.value(BackupKey).toBool()) return {};
    const QString checkedAlike = QStringLiteral("; its values are checked as any configuration's");
    if (!file.contains(FingerprintKey))
        return BackupKey +
               QStringLiteral(
                   ": the file holds no fingerprint, so it is no backup this program "
                   "kept") +
               checkedAlike;
    if (!FingerprintMatches(file))
        return BackupKey +
               QStringLiteral(
                   ": the fingerprint does not match the content, so the file was "
                   "changed after it was kept") +
               checkedAlike;
    return {};
}

}  // namespace kv
