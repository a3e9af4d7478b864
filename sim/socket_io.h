#pragma once
// The simulator's sockets, bound to one IPv4 address, non-blocking, on POSIX
// systems and on Windows alike; and a monotonic millisecond clock. A socket
// is an int here: Windows' socket handles are small numbers too.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "sim/sim_options.h"

namespace t27::sim {

// Once per process before any socket (Windows needs it; elsewhere a no-op).
bool sockets_start(std::string& error);

// A non-blocking TCP listener on `at`; -1 with `error` set on failure.
int open_tcp_listener(const Endpoint& at, std::string& error);
// A non-blocking UDP socket bound to `at`; -1 with `error` set on failure.
int open_udp_socket(const Endpoint& at, std::string& error);
// A waiting connection on `listener`, non-blocking; -1 when there is none.
int accept_socket(int listener);
void close_socket(int& fd);
// The address a socket is bound to, with the real port when 0 was asked for.
Endpoint bound_endpoint(int fd);
std::string peer_text(int fd);
bool set_nonblocking(int fd);

// recv/send without SIGPIPE; -1 on error, with the kind of error below.
long socket_read(int fd, char* buf, std::size_t n);
long socket_send(int fd, const char* buf, std::size_t n);
// After -1: the call would have blocked / was interrupted by a signal.
bool socket_would_block();
bool socket_interrupted();

// Reads every waiting datagram on `fd` and sends what `answer` gives for one
// (if anything) back to its sender.
void answer_datagrams(int fd,
                      const std::function<std::optional<std::string>(std::string_view)>& answer);

std::int64_t monotonic_ms();

}  // namespace t27::sim
