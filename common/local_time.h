#pragma once
// Wall-clock time stamps for logs a person reads beside their own clock.
#include <cstdint>
#include <string>

namespace t27 {

// "2026-12-07T10:00:00.123" in local time.
std::string local_time_text(std::int64_t time_ms);
// The wall clock in milliseconds since the epoch.
std::int64_t wall_clock_ms();

}  // namespace t27
