#include "cable/cable_commands.h"

#include "cable/cable_times.h"
#include "protocol/command_table.h"

namespace t27 {

const std::vector<int>& cable_poll_list() {
    static const std::vector<int> list = {
        cmd_cable_level_query, cmd_cable_run_query,  cmd_cable_result_query, cmd_cable_time_query,
        cmd_timer_day_query,   cmd_timer_hour_query, cmd_timer_minute_query, cmd_timer_second_query,
    };
    return list;
}

std::string cable_run_request(bool start) {
    return command_text(cmd_cable_run) + (start ? "start" : "stop") + "\r";
}

std::string cable_level_request(const std::string& level_caption) {
    return command_text(cmd_cable_level) + (level_caption == "NORMAL" ? "strict" : "normal") + "\r";
}

std::string cable_time_request(int entry) {
    return command_text(cmd_cable_time) + std::to_string(cable_time_value(entry)) + "\r";
}

}  // namespace t27
