#pragma once
// Queued calls, QProcess and QSerialPort's signals need an application object. The first
// test that asks makes one; it lives until the test program ends.

#include <QCoreApplication>

namespace kv::test {

inline bool EnsureCoreApplication() {
    static int argc = 1;
    static char name[] = "tests";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr) new QCoreApplication(argc, argv);
    return true;
}

}  // namespace kv::test
