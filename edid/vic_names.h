#pragma once
#include <string>

namespace t27 {

inline constexpr int vic_name_count = 129;  // VICs 0-128

// Display text of a video identification code, blanks included; empty for
// VICs without a name (108-128) and for any VIC outside 0-128.
std::string vic_name(int vic);

}  // namespace t27
