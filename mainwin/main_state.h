#pragma once
// State of the main window that other windows and the poll loop consult.
#include <array>
#include <string>
#include <vector>

#include "generator/catalogue.h"
#include "generator/favourites.h"
#include "settings/settings.h"

namespace t27 {

inline constexpr int none_pending = 254;

// Deferred user actions, carried out by the next poll tick (on the polling
// tabs) or as soon as the line is free (on the others).
enum PendingAction : int {
    pending_cable_start = 0,
    pending_cable_stop = 1,
    pending_cable_level = 2,
    pending_cable_time = 3,
    pending_slot_rename = 6,
    pending_link = 7,
    pending_monitor_report = 8,
    pending_motion_text = 9,
    pending_panel_button = 10,
    pending_read_pattern = 11,
    pending_refresh = 12,
    pending_task_analyser = 13,
    pending_task_cable = 14,
    pending_task_pattern = 15,
    pending_read_timing = 16,
    // Output choices on the generator tabs: a click while another request
    // waits is carried out afterwards rather than lost.
    pending_output_timing = 17,
    pending_output_pattern = 18,
    pending_downscale = 19,
    // The source check reads the EDID the unit presents on its input.
    pending_source_check = 20,
};
inline constexpr int pending_action_codes = 21;

struct MainState {
    int current_tab = 254;
    bool poll_busy = false;
    int pending_action = none_pending;
    bool window_loading = false;
    bool refresh_mark = false;
    int clock_ticks = 0;
    int clock_seconds = 0;
    int clock_action = 254;  // 1 = repeat discovery
    int clock_delay = 5;
    std::string saved_ip;

    // The poll loop: CommandTable indices sent one per tick, in a ring.
    std::vector<int> poll_list;
    int poll_pos = 0;

    // The loaded timing/pattern catalogue and its favourite slots.
    std::string catalogue_file;  // the catalogue the lists were last loaded from
    Catalogue catalogue;
    Favourites favourites;
    int current_pattern = 254;

    // Recently used EDID files, most recent first; "" = empty entry.
    std::array<std::string, recent_file_count> recent_files;
};

}  // namespace t27
