#include "sim/posix_io.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

namespace t27::sim {

namespace {

bool to_sockaddr(const Endpoint& at, sockaddr_in& sa) {
    std::memset(&sa, 0, sizeof sa);
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<std::uint16_t>(at.port));
    return inet_pton(AF_INET, at.host.c_str(), &sa.sin_addr) == 1;
}

Endpoint from_sockaddr(const sockaddr_in& sa) {
    char buf[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &sa.sin_addr, buf, sizeof buf);
    return Endpoint{buf, ntohs(sa.sin_port)};
}

int open_bound(int type, const Endpoint& at, std::string& error) {
    sockaddr_in sa{};
    if (!to_sockaddr(at, sa)) {
        error = "bad address " + at.host;
        return -1;
    }
    int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::strerror(errno);
        return -1;
    }
    int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 ||
        (type == SOCK_STREAM && ::listen(fd, 4) != 0) || !set_nonblocking(fd)) {
        error =
            "cannot use " + at.host + ":" + std::to_string(at.port) + ": " + std::strerror(errno);
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

int open_tcp_listener(const Endpoint& at, std::string& error) {
    return open_bound(SOCK_STREAM, at, error);
}

int open_udp_socket(const Endpoint& at, std::string& error) {
    return open_bound(SOCK_DGRAM, at, error);
}

Endpoint bound_endpoint(int fd) {
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len);
    return from_sockaddr(sa);
}

std::string peer_text(int fd) {
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    if (::getpeername(fd, reinterpret_cast<sockaddr*>(&sa), &len) != 0) return "?";
    Endpoint e = from_sockaddr(sa);
    return e.host + ":" + std::to_string(e.port);
}

bool set_nonblocking(int fd) {
    int flags = ::fcntl(fd, F_GETFL, 0);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

std::int64_t monotonic_ms() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

}  // namespace t27::sim
