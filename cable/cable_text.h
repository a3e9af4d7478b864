#pragma once
// Text rules of the cable tab: how the unit's words are shown and how its
// numbers are read.
#include <optional>
#include <string>

namespace t27 {

// Upper case as the Latin-1 code page has it: a-z and the accented small
// letters, bytes 0xE0-0xFE except the division sign. "normal" → "NORMAL".
std::string upper_text(const std::string& text);

// A decimal integer with an optional sign and blanks around it; nothing for
// anything else, and for more than nine digits, so callers never overflow.
std::optional<long long> parse_decimal(const std::string& text);

}  // namespace t27
