#pragma once
// EDID blocks on the wire: 128 bytes as "HH " triplets.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace t27::sim {

// 128 bytes from `p` as upper-case "HH " triplets (384 characters).
std::string to_triplets(const std::uint8_t* p);

// The 128 bytes of a 384-character block; nothing when a group is not two
// hexadecimal digits and a blank.
std::optional<std::vector<std::uint8_t>> from_triplets(std::string_view text);

}  // namespace t27::sim
