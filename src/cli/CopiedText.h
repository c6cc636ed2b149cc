#pragma once
// A stream device that passes what is written on to a text stream (standard error) at once
// and keeps a copy, up to a limit: the result document of --json repeats what a command
// that ended before any port told the user.

#include <QByteArray>
#include <QIODevice>
#include <QTextStream>

namespace kv::cli {

class CopiedText : public QIODevice {
public:
    explicit CopiedText(QTextStream& target) : target_(target) { open(QIODevice::WriteOnly); }

    // What was written, without the progress line's redrawn lines.
    QString Text() const;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    QTextStream& target_;
    QByteArray copy_;
};

}  // namespace kv::cli
