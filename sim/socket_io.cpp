#include "sim/socket_io.h"

#if defined(_WIN32)
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#endif

#include <chrono>
#include <cstring>

namespace t27::sim {

namespace {

#if defined(_WIN32)
using socklen_type = int;
constexpr int no_signal = 0;  // Windows raises no signal on a closed peer

std::string last_error() { return "socket error " + std::to_string(WSAGetLastError()); }
#else
using socklen_type = socklen_t;
#if defined(MSG_NOSIGNAL)
constexpr int no_signal = MSG_NOSIGNAL;
#else
constexpr int no_signal = 0;  // macOS: the program ignores SIGPIPE instead
#endif

std::string last_error() { return std::strerror(errno); }
#endif

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
#if defined(_WIN32)
    const SOCKET s = ::socket(AF_INET, type, 0);
    int fd = s == INVALID_SOCKET ? -1 : static_cast<int>(s);
#elif defined(SOCK_CLOEXEC)
    int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
#else
    int fd = ::socket(AF_INET, type, 0);
    if (fd >= 0) ::fcntl(fd, F_SETFD, FD_CLOEXEC);
#endif
    if (fd < 0) {
        error = last_error();
        return -1;
    }
#if !defined(_WIN32)
    // On Windows the same option would let a second simulator take the port.
    int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
#endif
    if (::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 ||
        (type == SOCK_STREAM && ::listen(fd, 4) != 0) || !set_nonblocking(fd)) {
        error = "cannot use " + at.host + ":" + std::to_string(at.port) + ": " + last_error();
        close_socket(fd);
        return -1;
    }
    return fd;
}

}  // namespace

bool sockets_start(std::string& error) {
#if defined(_WIN32)
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        error = "no sockets: " + last_error();
        return false;
    }
#else
    (void)error;
#endif
    return true;
}

int open_tcp_listener(const Endpoint& at, std::string& error) {
    return open_bound(SOCK_STREAM, at, error);
}

int open_udp_socket(const Endpoint& at, std::string& error) {
    return open_bound(SOCK_DGRAM, at, error);
}

int accept_socket(int listener) {
#if defined(_WIN32)
    const SOCKET s = ::accept(static_cast<SOCKET>(listener), nullptr, nullptr);
    if (s == INVALID_SOCKET) return -1;
    int fd = static_cast<int>(s);
    if (!set_nonblocking(fd)) close_socket(fd);
    return fd;
#elif defined(__linux__)
    return ::accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
#else
    int fd = ::accept(listener, nullptr, nullptr);
    if (fd < 0) return -1;
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    if (!set_nonblocking(fd)) close_socket(fd);
    return fd;
#endif
}

void close_socket(int& fd) {
#if defined(_WIN32)
    if (fd >= 0) ::closesocket(static_cast<SOCKET>(fd));
#else
    if (fd >= 0) ::close(fd);
#endif
    fd = -1;
}

Endpoint bound_endpoint(int fd) {
    sockaddr_in sa{};
    socklen_type len = sizeof sa;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len);
    return from_sockaddr(sa);
}

std::string peer_text(int fd) {
    sockaddr_in sa{};
    socklen_type len = sizeof sa;
    if (::getpeername(fd, reinterpret_cast<sockaddr*>(&sa), &len) != 0) return "?";
    Endpoint e = from_sockaddr(sa);
    return e.host + ":" + std::to_string(e.port);
}

bool set_nonblocking(int fd) {
#if defined(_WIN32)
    u_long on = 1;
    return ::ioctlsocket(static_cast<SOCKET>(fd), FIONBIO, &on) == 0;
#else
    int flags = ::fcntl(fd, F_GETFL, 0);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
#endif
}

long socket_read(int fd, char* buf, std::size_t n) {
    return static_cast<long>(::recv(fd, buf, static_cast<int>(n), 0));
}

long socket_send(int fd, const char* buf, std::size_t n) {
    return static_cast<long>(::send(fd, buf, static_cast<int>(n), no_signal));
}

bool socket_would_block() {
#if defined(_WIN32)
    return WSAGetLastError() == WSAEWOULDBLOCK;
#else
    return errno == EAGAIN || errno == EWOULDBLOCK;
#endif
}

bool socket_interrupted() {
#if defined(_WIN32)
    return WSAGetLastError() == WSAEINTR;
#else
    return errno == EINTR;
#endif
}

void answer_datagrams(int fd,
                      const std::function<std::optional<std::string>(std::string_view)>& answer) {
    char buf[1500];
    while (true) {
        sockaddr_in from{};
        socklen_type len = sizeof from;
        const long n = static_cast<long>(
            ::recvfrom(fd, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &len));
        if (n < 0) return;
        const std::optional<std::string> reply =
            answer(std::string_view(buf, static_cast<std::size_t>(n)));
        if (reply)
            ::sendto(fd, reply->data(), static_cast<int>(reply->size()), 0,
                     reinterpret_cast<sockaddr*>(&from), len);
    }
}

std::int64_t monotonic_ms() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace t27::sim
