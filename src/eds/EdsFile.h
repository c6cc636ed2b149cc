#pragma once
// Writing the EDS file: "KV-9052R_" + blank + node ID + ".eds", written whole to a
// temporary file and renamed into place, so a failed write never leaves half a file.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "config/GatewayConfig.h"
#include "eds/EdsText.h"

namespace kv {

// "KV-9052R_ 5.eds": the node ID with the blank of its sign position.
QString EdsFileName(uint8_t nodeId);

// Where the window puts the file: the program's folder, as a program run from its own
// folder expects, and the user's documents folder when the program's folder cannot be
// written (an installed program).
QStringList DefaultEdsFolders();

struct EdsFileResult {
    bool Ok = false;
    QString Path;       // the file written, on success
    QString ErrorText;  // the system's reason, on failure
};

// Writes the file into the first of `folders` that takes it.
EdsFileResult WriteEdsFile(const QStringList& folders, const GatewayConfig& config,
                           const ConnectionPaths& pollPaths, const EdsInfoTexts& info,
                           const QDateTime& moment = QDateTime::currentDateTime());

}  // namespace kv
