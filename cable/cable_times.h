#pragma once
// The test time list of the Cable Test tab. The unit numbers its test times
// 1..7, which is the list position + 1; the last entry never ends by itself.
#include <optional>
#include <string>

namespace t27 {

inline constexpr int cable_time_count = 7;
inline constexpr int cable_time_endless = 6;  // "Infinite"

struct CableTime {
    const char* text;  // list entry, leading blank kept so the digits line up
    int duration_s;    // 0 for the endless entry
};

// Entry `entry` (0..6); entries outside the list give nullptr.
const CableTime* cable_time_at(int entry);

// The value the unit takes for an entry: position + 1.
int cable_time_value(int entry);

// Seconds a finite entry runs; nothing for the endless entry or no entry.
std::optional<int> cable_duration_s(int entry);

// The list entry named by a "$cable_time?" value ("1".."7", blanks around
// allowed); nothing for any other text, since such a value has no entry.
std::optional<int> cable_time_entry_of(const std::string& value);

}  // namespace t27
