#pragma once
// Colours travel through the logic as 0x00BBGGRR integers, the form the unit's
// original tooling used; only the widget layer turns them into QColor.
#include <cstdint>

namespace t27 {

using Colour = std::uint32_t;

namespace colour {
inline constexpr Colour red = 192;              // closed, failed, "No response"
inline constexpr Colour green = 32768;          // open, "Accepted"
inline constexpr Colour bright_green = 49152;   // logging on, matches
inline constexpr Colour yellow = 61166;         // connecting
inline constexpr Colour grey = 9474192;         // transport not selected
inline constexpr Colour light_grey = 12632256;  // tab not selected
inline constexpr Colour orange = 8438015;       // tab selected
inline constexpr Colour pause_red = 3158271;    // command monitor paused
}  // namespace colour

constexpr int colour_red(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int colour_green(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int colour_blue(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

}  // namespace t27
