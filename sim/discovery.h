#pragma once
// The unit's answer to a discovery datagram: two header bytes, then records
// of type, length and value.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace t27::sim {

struct DiscoveryIdentity {
    std::string name = "T27";
    std::string description = "HDMI test unit";
    std::array<std::uint8_t, 4> ip = {127, 0, 0, 1};
    std::array<std::uint8_t, 6> mac = {0x02, 0x00, 0x27, 0x00, 0x00, 0x01};
};

// Record types of the answer.
inline constexpr std::uint8_t discovery_mac = 2;
inline constexpr std::uint8_t discovery_ip = 3;
inline constexpr std::uint8_t discovery_name = 13;
inline constexpr std::uint8_t discovery_description = 14;

// The 4-byte request 0x01 0x00 0xFF 0xFF.
bool is_discovery_request(std::string_view datagram);

// Broken answers for exercising the program's parser:
//   "overrun"    – the description record claims more bytes than follow;
//   "truncated"  – the datagram stops inside the IP record;
//   "desc-first" – the description comes before the IP record;
//   "no-desc"    – no description record at all;
//   "huge-len"   – the first record's length byte is 255.
bool is_malformed_variant(std::string_view variant);

// The answer datagram; `variant` empty for a well-formed one.
std::string discovery_answer(const DiscoveryIdentity& id, std::string_view variant = {});

// "02:00:27:00:00:01" / "127.0.0.1" into bytes; false when malformed.
bool parse_mac(std::string_view text, std::array<std::uint8_t, 6>& out);
bool parse_ipv4(std::string_view text, std::array<std::uint8_t, 4>& out);

}  // namespace t27::sim
