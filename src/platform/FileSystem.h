#pragma once
// What the file system says of a file, and what it does with one, in the platform's way
// (posix/FileSystem.cpp, portable/FileSystem.cpp).

#include <QString>

namespace kv {

// The open file `handle` on the disk, not only in the system's cache: a rename is kept by
// the file system's journal before the data it names may be, and a crash then leaves an
// empty file. The system's reason when it fails, else empty.
QString SyncToDisk(int handle);
// Gives the open file `handle`, about to replace `path`, the owner and group of `path` when
// the superuser writes over another user's file; the system's reason when it fails.
QString KeepOwner(int handle, const QString& path);
// A device node by the device it opens, another file by the file it is, so that two names of
// one file are one text; the cleaned absolute path where the system says neither.
QString FileIdentity(const QString& path);
bool IsCharacterDevice(const QString& path);
// Tells this user's folders from another's in a shared folder.
QString UserSuffix();

}  // namespace kv
