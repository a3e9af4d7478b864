#pragma once
// Finding units on the local network: the request datagram, where it goes,
// reading the units' type-length-value answers, and the one broadcast repeat.
// The socket itself belongs to the window; everything here is plain data.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace t27 {

// 0x01 0x00 0xFF 0xFF.
std::string discovery_request();

// Where requests go. The window uses the defaults; tests and demos point both
// hosts at 127.0.0.1 so nothing leaves the machine.
struct DiscoveryTargets {
    std::string multicast_host = "225.12.13.14";
    std::string broadcast_host = "255.255.255.255";
    std::uint16_t remote_port = 31001;
    std::uint16_t local_port = 31002;

    static DiscoveryTargets loopback();
};

// First request of a search to the multicast host, the repeat to the broadcast host.
const std::string& discovery_host(const DiscoveryTargets& targets, bool discovery_repeated);

// Record types of an answer.
inline constexpr int discovery_type_mac = 2;
inline constexpr int discovery_type_ip = 3;
inline constexpr int discovery_type_name = 13;
inline constexpr int discovery_type_description = 14;

// The name as compared: its first 12 characters, only codes 32-126, without
// leading or trailing blanks.
std::string discovery_name_text(std::string_view raw);

// The model a shortened name is listed as, or empty when such units are not
// listed.
std::string discovery_accepted_model(std::string_view shortened_name);

struct DiscoveredUnit {
    std::string ip;     // "192.168.0.7", or empty when no IP record came first
    std::string mac;    // "00:1A:2B:3C:4D:5E", or empty likewise
    std::string model;  // the accepted model name it is listed as
};

struct DiscoveryAnswer {
    std::vector<DiscoveredUnit> units;  // in the order of their description records
    // A record ran past the end of the datagram; parsing stopped there and the
    // units listed before it are kept.
    bool truncated = false;
};

// One answer datagram: 2 header bytes, then records of type, length, value.
// A unit is listed at each description record whose datagram named an
// accepted model in an earlier name record, with the MAC and IP seen so far.
DiscoveryAnswer discovery_parse(std::string_view datagram);

// One search: how many units were listed and whether the broadcast repeat
// has gone out.
struct DiscoveryState {
    int found_count = 0;
    bool discovery_repeated = false;
};

// "Find IP" and "Refresh" start a new search.
void discovery_start(DiscoveryState& state);

// The one-second check after a request: true (and the state marked) when
// nobody has answered and the repeat has not been sent yet; the caller then
// sends the request to discovery_host(targets, true).
bool discovery_repeat_due(DiscoveryState& state);

struct ListedUnit {
    int index = 0;  // 1-based list index
    DiscoveredUnit unit;
};

// Parses an answer and counts its units into the search; the returned entries
// carry their list index.
std::vector<ListedUnit> discovery_accept(DiscoveryState& state, std::string_view datagram);

}  // namespace t27
