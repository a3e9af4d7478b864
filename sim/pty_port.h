#pragma once
// The pseudo-terminal front end's device: the program opens the slave path
// as if it were a serial port.
#include <string>

namespace t27::sim {

struct PtyPort {
    int master = -1;
    // The simulator keeps the slave open itself so the master never sees a
    // hang-up while the program has the port closed.
    int keep_slave = -1;
    std::string path;  // "/dev/pts/N"
    std::string link;  // symlink made on request, removed on close
};

// Opens a raw-mode pseudo-terminal; false with `error` set on failure.
bool open_pty(PtyPort& port, const std::string& link, std::string& error);
void close_pty(PtyPort& port);

}  // namespace t27::sim
