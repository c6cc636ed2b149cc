#include "cli/Invocation.h"

namespace kv::cli {
namespace {

int SeverityOf(int status) {
    switch (status) {
        case ExitOk:
            return 0;
        case ExitFindings:
            return 1;
        case ExitProblems:
            return 2;
        case ExitFailed:
            return 3;
        default:  // bad usage
            return 4;
    }
}

}  // namespace

int WorseStatus(int a, int b) { return SeverityOf(b) > SeverityOf(a) ? b : a; }

}  // namespace kv::cli
