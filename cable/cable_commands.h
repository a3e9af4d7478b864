#pragma once
// The cable test's requests: CommandTable indices, the tab's poll list and
// the request lines of the four user actions.
#include <string>
#include <vector>

namespace t27 {

// CommandTable indices of the cable commands.
inline constexpr int cmd_cable_level = 13;
inline constexpr int cmd_cable_level_query = 14;
inline constexpr int cmd_cable_result_query = 15;
inline constexpr int cmd_cable_run = 16;
inline constexpr int cmd_cable_run_query = 17;
inline constexpr int cmd_cable_time = 18;
inline constexpr int cmd_cable_time_query = 19;
inline constexpr int cmd_timer_day_query = 160;
inline constexpr int cmd_timer_hour_query = 161;
inline constexpr int cmd_timer_minute_query = 162;
inline constexpr int cmd_timer_second_query = 163;

// What `cable_table_set` installs: level, run state, result and time first,
// then the four clock fields from the largest down.
const std::vector<int>& cable_poll_list();

// "$cable_run start" / "$cable_run stop", each with its CR.
std::string cable_run_request(bool start);

// Test Level toggles what the unit last reported: "NORMAL" asks for strict,
// anything else (also a level never read) asks for normal.
std::string cable_level_request(const std::string& level_caption);

// "$cable_time " + (entry + 1) + CR.
std::string cable_time_request(int entry);

}  // namespace t27
