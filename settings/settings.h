#pragma once
// The small settings file: link choice, the unit's address, COM number, main
// window position (in 1/1440 inch) and the ten recently used EDID files.
#include <array>
#include <string>
#include <string_view>

namespace t27 {

inline constexpr int recent_file_count = 10;
inline constexpr int com_port_first = 1;
inline constexpr int com_port_last = 16;

struct Settings {
    int link_interface = 0;  // 0 RS-232, 1 Ethernet
    std::string eth_ip;
    int com_port = com_port_first;
    // False when the file held no usable position: the window is centred.
    bool has_position = false;
    long left = 0;
    long top = 0;
    std::array<std::string, recent_file_count> recent;  // "" = empty entry
};

struct SettingsParse {
    Settings settings;
    bool ok = false;
    std::string error;  // empty when ok
};

// Every field that is missing or unusable keeps its default (RS-232, no
// address, COM 1, centred, empty entry) while the others are taken from the
// file; `ok` tells whether the whole file was sound.
SettingsParse settings_parse(std::string bytes);

// The 15 lines written at exit; left and top in single-precision form.
std::string settings_bytes(const Settings& settings);

// Reads the settings file of `program_dir`; a missing file gives the defaults.
SettingsParse settings_load(std::string_view program_dir);

}  // namespace t27
