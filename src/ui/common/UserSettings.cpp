#include "ui/common/UserSettings.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QWidget>

namespace kv {
namespace {

QString SettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/kv9052r/utility.conf");
}

QString Key(const QString& window, const char* name) { return window + u'/' + QLatin1String(name); }

}  // namespace

UserSettings::UserSettings() : settings_(SettingsPath(), QSettings::IniFormat) {}

int UserSettings::Port(const QString& window, int fallback) const {
    return settings_.value(Key(window, "Port"), fallback).toInt();
}

void UserSettings::SetPort(const QString& window, int portNumber) {
    settings_.setValue(Key(window, "Port"), portNumber);
}

QString UserSettings::Folder(const QString& kind) const {
    return settings_.value(Key(kind, "Folder")).toString();
}

void UserSettings::SetFolderOf(const QString& filePath, const QString& kind) {
    settings_.setValue(Key(kind, "Folder"), QFileInfo(filePath).absolutePath());
}

bool UserSettings::RestoreGeometry(QWidget& window) const {
    return window.restoreGeometry(
        settings_.value(Key(window.objectName(), "Geometry")).toByteArray());
}

void UserSettings::SaveGeometry(const QWidget& window) {
    settings_.setValue(Key(window.objectName(), "Geometry"), window.saveGeometry());
}

QStringList UserSettings::RecentFiles() const {
    return settings_.value("Files/Recent").toStringList().mid(0, RecentFileCount);
}

void UserSettings::AddRecentFile(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList recent = RecentFiles();
    recent.removeAll(absolute);
    recent.prepend(absolute);
    settings_.setValue("Files/Recent", recent.mid(0, RecentFileCount));
    SetFolderOf(absolute);
}

void UserSettings::RemoveRecentFile(const QString& path) {
    QStringList recent = RecentFiles();
    recent.removeAll(path);
    settings_.setValue("Files/Recent", recent);
}

bool UserSettings::VerifyAfterWriting() const {
    return settings_.value("Save/VerifyAfterWriting", true).toBool();
}

void UserSettings::SetVerifyAfterWriting(bool verify) {
    settings_.setValue("Save/VerifyAfterWriting", verify);
}

}  // namespace kv
