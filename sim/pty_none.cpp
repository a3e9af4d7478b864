// Systems without pseudo-terminals (Windows): the simulator serves TCP only.
#include "sim/pty_port.h"

namespace t27::sim {

bool open_pty(PtyPort&, const std::string&, std::string& error) {
    error = "no pseudo-terminal on this system (POSIX only): serve TCP with --listen";
    return false;
}

void close_pty(PtyPort&) {}

}  // namespace t27::sim
