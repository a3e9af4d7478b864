#pragma once
// COMPARE: the bytes of blocks 0 and 1 in which the READ and WRITE images
// differ, where their digits sit in the hex texts, and the result captions.
#include <cstddef>
#include <string>
#include <vector>

#include "common/colours.h"
#include "edid/edid_buffer.h"

namespace t27 {

inline constexpr int edid_compare_bytes = 256;  // blocks 2 and 3 are not compared
inline constexpr Colour edid_match_colour = colour::green;
inline constexpr Colour edid_mismatch_colour = colour::red;

struct EdidCompare {
    std::string error;                 // "READ or WRITE data is empty!" when a window is empty
    std::vector<int> differing;        // byte indexes
    std::vector<std::size_t> offsets;  // edid_text_offset of each byte, the same in either text
    std::string msg1;                  // "Match" or "<n> wrong"
    std::string msg2;                  // " entirely." or " data !"
    Colour colour = edid_match_colour;
};

// Bytes past either image's own size are not compared.
EdidCompare edid_compare(const std::string& read_text, const EdidBuffer& read,
                         const std::string& write_text, const EdidBuffer& write);

}  // namespace t27
