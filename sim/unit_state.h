#pragma once
// Everything the simulated unit remembers between requests.
#include <map>
#include <string>

#include "sim/cable_test.h"
#include "sim/edid_store.h"

namespace t27::sim {

struct Identity {
    std::string model = "T27";
    int board_id = 0;
    std::string firmware = "2.18.07";
};

struct UnitState {
    Identity identity;
    std::string task_mode = "analyser";  // "analyser", "pattern" or "cable"
    // Output and input settings by key: the set command's word without "$"
    // ("audio_mute" holds what "$audio_mute on" stored).
    std::map<std::string, std::string, std::less<>> settings;
    EdidStore edid;
    // "$source_detect? " and "$sink_detect? " items by name ("5v", "avi", …).
    std::map<std::string, std::string, std::less<>> source_items;
    std::map<std::string, std::string, std::less<>> sink_items;
    // The signal scenario the source items were last derived from.
    std::string scenario;
    // What "$timingx?" reports while the unit generates its own output.
    std::string output_timing_text = "1920x1080p60";
    // The cable test with its clock, the cable under test and the time scale.
    CableTest cable;
};

}  // namespace t27::sim
