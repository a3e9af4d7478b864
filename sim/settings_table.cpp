#include "sim/settings_table.h"

#include <cctype>
#include <iterator>

namespace t27::sim {

namespace {

// clang-format off
constexpr SettingDef defs[] = {
    {"4k_to_1080p",     "off",       "off|on_rgb|on_yuv"},
    {"audio_ch",        "2",         "2|6|8"},
    {"audio_mute",      "off",       "on|off"},
    {"audio_source",    "int",       "int|hdmi|ana"},
    {"audio_sr",        "48",        "48|96|192"},
    {"cable_level",     "normal",    "normal|strict"},
    {"cable_run",       "stop",      "start|stop"},
    {"cable_time",      "1",         nullptr, 1, 7},
    {"cec_msg_set",     "04",        nullptr, 0, 0, 64},
    {"color_cal_blue",  "255",       nullptr, 0, 255},
    {"color_cal_color", "white",     "white|red|green|blue|yellow|magenta|cyan|user", 0, 0, 0, true},
    {"color_cal_green", "255",       nullptr, 0, 255},
    {"color_cal_level", "255",       nullptr, 0, 255},
    {"color_cal_red",   "255",       nullptr, 0, 255},
    {"color_space",     "rgb",       "rgb|y444|y422|y420"},
    {"deep_color",      "8",         "8|10|12"},
    {"hdcp_in_sw",      "on",        "on|off"},
    {"hdcp_in_ver",     "v1.4+v2.2", "v1.4|v1.4+v2.2"},
    {"hdcp_out_sw",     "off",       "on|off"},
    {"hdcp_out_ver",    "v1.4",      "v1.4|v2.2"},
    {"hdr_eotf",        "sdr",       "sdr|hdr|2084"},
    {"hdr_set",         "1",         "1|2|3"},
    {"hdr_sw",          "off",       "on|off"},
    {"hdr_tx_col",      "1",         nullptr, 1, 10},
    {"motion_text",     "T27 MOTION", nullptr, 0, 0, 20},
    {"pattern",         "1",         nullptr, 1, 999},
    {"rx_ddc",          "on",        "on|off"},
    {"rx_hotplug",      "on",        "on|off|toggle"},
    {"rx_scdc",         "on",        "on|off"},
    {"rx_sense",        "on",        "on|off"},
    {"timing",          "1",         nullptr, 1, 999},
    {"tmds_format",     "hdmi",      "hdmi|dvi"},
    {"tmds_sw",         "on",        "on|off"},
    {"tx_5v",           "follow",    "follow|on"},
};
// clang-format on

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool in_choices(std::string_view choices, std::string_view value) {
    while (true) {
        std::size_t bar = choices.find('|');
        if (choices.substr(0, bar) == value) return true;
        if (bar == std::string_view::npos) return false;
        choices.remove_prefix(bar + 1);
    }
}

std::optional<std::string> accept_number(const SettingDef& def, std::string_view arg) {
    if (arg.empty() || arg.size() > 6) return std::nullopt;
    int v = 0;
    for (char c : arg) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    if (v < def.lo || v > def.hi) return std::nullopt;
    return std::to_string(v);  // "007" is stored and echoed as "7"
}

}  // namespace

const SettingDef* settings_begin() { return std::begin(defs); }
const SettingDef* settings_end() { return std::end(defs); }

const SettingDef* find_setting(std::string_view key) {
    for (const SettingDef& d : defs)
        if (key == d.key) return &d;
    return nullptr;
}

std::optional<std::string> accept_value(const SettingDef& def, std::string_view arg) {
    if (def.choices) {
        std::string v = def.fold_case ? lower(arg) : std::string(arg);
        if (!in_choices(def.choices, v)) return std::nullopt;
        // A toggled hot-plug line pulses low and ends high again.
        if (v == "toggle") v = "on";
        return v;
    }
    if (def.hi > def.lo) return accept_number(def, arg);
    // Printable text without commas: a comma would split the value when the
    // unit reports it back.
    if (arg.empty() || arg.size() > def.max_text) return std::nullopt;
    for (char c : arg)
        if (c < 0x20 || c > 0x7E || c == ',') return std::nullopt;
    return std::string(arg);
}

void reset_settings(UnitState& state) {
    state.settings.clear();
    for (const SettingDef& d : defs) state.settings[d.key] = d.initial;
}

}  // namespace t27::sim
