#pragma once
// Where the main window opens. All values in one unit (the settings file keeps
// 1/1440 inch; the caller converts).
#include "settings/settings.h"

namespace t27 {

struct WindowPosition {
    long left = 0;
    long top = 0;
};

// A saved edge beyond the screen's far side or below zero moves the window
// flush with the right (left edge) or bottom (top edge) of the screen; a window
// larger than the screen is kept at 0 so its title bar stays reachable.
WindowPosition window_placement(long left, long top, long screen_width, long screen_height,
                                long window_width, long window_height);

WindowPosition window_centred(long screen_width, long screen_height, long window_width,
                              long window_height);

// The position for the loaded settings: the saved one through the rule above,
// or centred when the file held none.
WindowPosition settings_window_position(const Settings& settings, long screen_width,
                                        long screen_height, long window_width, long window_height);

// The screen's available area (the desktop without its panels).
struct ScreenArea {
    long left = 0;
    long top = 0;
    long width = 0;
    long height = 0;
};

// The settings keep the window's place relative to the available area's
// origin; these two convert in each direction, so a position saved at exit is
// the position restored at the next start, whatever panels sit at the top or
// left of the desktop.
WindowPosition window_position_saved(long x, long y, const ScreenArea& area);
WindowPosition window_position_restored(const Settings& settings, const ScreenArea& area,
                                        long window_width, long window_height);

}  // namespace t27
