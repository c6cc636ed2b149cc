#pragma once
// A pseudo-terminal whose slave side plays the gateway's serial port. The slave stays
// open in this process as well, so that a client closing it does not hang the line up
// and the next client finds it working.

#include <QString>

namespace kv::sim {

class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Opens master and slave in raw mode, the master without blocking. False with the
    // reason in `error` when the system refuses.
    bool Open(QString& error);
    int MasterFd() const { return master_; }
    QString SlavePath() const { return slavePath_; }

private:
    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
};

}  // namespace kv::sim
