#include "sim/pty_port.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace t27::sim {

bool open_pty(PtyPort& port, const std::string& link, std::string& error) {
#if defined(__APPLE__)
    // macOS takes only O_RDWR and O_NOCTTY here.
    int m = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m >= 0) ::fcntl(m, F_SETFD, FD_CLOEXEC);
#else
    int m = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
#endif
    if (m < 0 || ::grantpt(m) != 0 || ::unlockpt(m) != 0) {
        error = std::string("pseudo-terminal: ") + std::strerror(errno);
        if (m >= 0) ::close(m);
        return false;
    }
    char name[128] = {};
    if (::ptsname_r(m, name, sizeof name) != 0) {
        error = std::string("pseudo-terminal name: ") + std::strerror(errno);
        ::close(m);
        return false;
    }
    int s = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (s < 0) {
        error = std::string(name) + ": " + std::strerror(errno);
        ::close(m);
        return false;
    }
    // Raw bytes both ways: no echo, no CR/LF translation, no signals.
    termios t{};
    ::tcgetattr(s, &t);
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    ::cfsetispeed(&t, B115200);
    ::cfsetospeed(&t, B115200);
    ::tcsetattr(s, TCSANOW, &t);
    int flags = ::fcntl(m, F_GETFL, 0);
    ::fcntl(m, F_SETFL, flags | O_NONBLOCK);
    if (!link.empty()) {
        ::unlink(link.c_str());
        if (::symlink(name, link.c_str()) != 0) {
            error = link + ": " + std::strerror(errno);
            ::close(s);
            ::close(m);
            return false;
        }
    }
    port.master = m;
    port.keep_slave = s;
    port.path = name;
    port.link = link;
    return true;
}

void close_pty(PtyPort& port) {
    if (!port.link.empty()) ::unlink(port.link.c_str());
    if (port.keep_slave >= 0) ::close(port.keep_slave);
    if (port.master >= 0) ::close(port.master);
    port = PtyPort{};
}

}  // namespace t27::sim
