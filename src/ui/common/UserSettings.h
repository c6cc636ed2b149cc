#pragma once
// What the windows remember between runs: the port each window last used, the folder of
// the file dialogs, window places and sizes, the recent configurations and whether the
// save verifies. Kept in kv9052r/utility.conf in the configuration folder
// ($XDG_CONFIG_HOME, else ~/.config), read anew each time so every window sees the last
// value.

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>

class QWidget;

namespace kv {

inline constexpr int RecentFileCount = 8;

class UserSettings {
public:
    UserSettings();

    // The COM number a window last used; `fallback` when none is kept.
    int Port(const QString& window, int fallback) const;
    void SetPort(const QString& window, int portNumber);

    // The folder of the last file of a kind ("Files": configurations, "Backups": EEPROM
    // copies) opened or saved; empty when none.
    QString Folder(const QString& kind = QStringLiteral("Files")) const;
    void SetFolderOf(const QString& filePath, const QString& kind = QStringLiteral("Files"));

    // Puts the window where it was; false when no place is kept (or it is off-screen).
    bool RestoreGeometry(QWidget& window) const;
    void SaveGeometry(const QWidget& window);

    // The last configurations, newest first, at most RecentFileCount.
    QStringList RecentFiles() const;
    void AddRecentFile(const QString& path);
    void RemoveRecentFile(const QString& path);

    bool VerifyAfterWriting() const;
    void SetVerifyAfterWriting(bool verify);

private:
    QSettings settings_;
};

}  // namespace kv
