#pragma once
// Turning the unit's hex text of one packet into bytes.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace t27 {

inline constexpr int packet_max_bytes = 33;

using PacketBytes = std::array<std::uint8_t, packet_max_bytes>;

// A reply value counts as a packet when the unit sent something other than
// "None" (no parameter) or "off".
bool packet_present(std::string_view value);

// The decoder input: the reply value without leading and trailing blanks and
// with one blank appended, so every byte is "HH ".
std::string packet_string(std::string_view value);

// Byte i is read from the two characters at 0-based offsets 3i and 3i+1. A
// character that is not a hex digit ends that number early ("0z" and "z0" both
// read 0). Bytes the text does not reach, and anything past 33 bytes, stay 0 /
// are ignored.
PacketBytes parse_packet_bytes(std::string_view packet);

}  // namespace t27
