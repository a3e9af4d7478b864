#pragma once
// What the Cable Test tab shows, as plain values: the reply rules change it,
// the window draws it.
#include <array>
#include <string>

#include "common/colours.h"

namespace t27 {

// Border colours of the START/STOP shapes: black marks the button that can be
// used, grey the one that cannot.
inline constexpr Colour cable_border_usable = 0;
inline constexpr Colour cable_border_unusable = colour::light_grey;

// Full scale of the progress bar; only elapsed/duration is shown, so any
// fixed value works.
inline constexpr int cable_pbar_full = 1000;

// The endless test's arrow moves this far right per poll cycle (twips).
inline constexpr int cable_arrow_step = 300;

enum CableTimerField { timer_day = 0, timer_hour = 1, timer_minute = 2, timer_second = 3 };

struct CableView {
    std::string level;   // lab_cable_level: the unit's level in upper case
    std::string result;  // lab_cable_result
    // lab_cable_day/hour/minute/second, as the unit sent them.
    std::array<std::string, 4> timer{"0", "0", "0", "0"};

    // START/STOP: the label's enabled state and the shape's border.
    bool start_enabled = true;
    bool stop_enabled = false;
    Colour start_border = cable_border_usable;
    Colour stop_border = cable_border_unusable;
    bool time_enabled = true;   // cbo_cable_time
    bool level_enabled = true;  // cmd_cable_level

    int time_entry = -1;  // selected entry of cbo_cable_time, -1 = none

    bool pbar_visible = false;
    int pbar_value = 0;
    bool arrow_visible = false;
    int arrow_left = 0;  // twips inside fra_cable
    bool result_visible = true;

    // The time list has the keyboard focus: the user is choosing, so the
    // unit's "$cable_time?" does not move the selection under them.
    bool cable_time_focus = false;
    // The program itself is setting the list position; the change must not
    // be sent back to the unit.
    bool cable_time_suppress = false;

    // A test runs while START cannot be used.
    bool running() const { return !start_enabled; }

    bool operator==(const CableView&) const = default;
};

// Sizes the arrow rule needs, in twips.
struct CableGeometry {
    int frame_width = 0;  // fra_cable
    int arrow_width = 0;  // img_cable_arrow
};

}  // namespace t27
