#pragma once
// Small POSIX helpers for the front ends: sockets bound to one IPv4 address,
// non-blocking descriptors and a monotonic millisecond clock.
#include <cstdint>
#include <string>

#include "sim/sim_options.h"

namespace t27::sim {

// A non-blocking TCP listener on `at`; -1 with `error` set on failure.
int open_tcp_listener(const Endpoint& at, std::string& error);
// A non-blocking UDP socket bound to `at`; -1 with `error` set on failure.
int open_udp_socket(const Endpoint& at, std::string& error);
// The address a socket is bound to, with the real port when 0 was asked for.
Endpoint bound_endpoint(int fd);
std::string peer_text(int fd);
bool set_nonblocking(int fd);
std::int64_t monotonic_ms();

}  // namespace t27::sim
