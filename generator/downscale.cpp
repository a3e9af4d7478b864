#include "generator/downscale.h"

#include "protocol/command_table.h"
#include "protocol/unit_identity.h"

namespace t27 {

std::string downscale_request(int option) {
    if (option < 0 || option >= static_cast<int>(downscale_options.size())) return {};
    return command_text(0) + downscale_options[static_cast<std::size_t>(option)].value;
}

int downscale_option_for(std::string_view value) {
    for (std::size_t i = 0; i < downscale_options.size(); ++i)
        if (value == downscale_options[i].value) return static_cast<int>(i);
    return -1;
}

bool downscale_serves_tab(int model_family, int task_mode) {
    return model_family == family_v4l && task_mode == task_analyser;
}

}  // namespace t27
