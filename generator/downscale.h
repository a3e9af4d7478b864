#pragma once
// The 4K-to-1080p down-scaling choice of the V4L family in analyser mode.
#include <array>
#include <string>
#include <string_view>

namespace t27 {

struct DownscaleOption {
    const char* caption;
    const char* value;
};

inline constexpr std::array<DownscaleOption, 3> downscale_options = {{
    {"Disabled , Bypass", "off"},
    {"Enabled , RGB Output", "on_rgb"},
    {"Enabled , YCbCr Output", "on_yuv"},
}};

// "$4k_to_1080p " + value, without CR; empty for an option outside 0..2.
std::string downscale_request(int option);

// The option a reply value selects, or -1 for a value not listed.
int downscale_option_for(std::string_view value);

// Which read-back serves the Output Resolution tab: the V4L family in
// analyser mode scales its input instead of generating a timing.
bool downscale_serves_tab(int model_family, int task_mode);

}  // namespace t27
