#pragma once
// What the main window asks of the content of one of its six tabs. Each
// subsystem's page implements the parts that apply to it.

namespace t27 {

inline constexpr int tab_edid = 0;
inline constexpr int tab_timing = 1;
inline constexpr int tab_pattern = 2;
inline constexpr int tab_panel = 3;
inline constexpr int tab_monitor = 4;
inline constexpr int tab_cable = 5;
inline constexpr int tab_count = 6;

class TabPage {
public:
    virtual ~TabPage() = default;
    // The tab was chosen (before its frame is shown).
    virtual void selected() {}
    // After a successful link by the refresh sequence, and after a task
    // switch: read this tab's state back from the unit.
    virtual void read_back() {}
    // Polling tabs: an accepted reply to the poll request `index`.
    virtual void poll_reply(int /*index*/) {}
    // Polling tabs: set the poll list again (after a deferred action).
    virtual void rebuild_poll_list() {}
    // Lay the page out afresh (the Monitor tab's view) after a reconnect or a
    // task switch.
    virtual void form_set() {}
    // The link or task mode changed (`ui_var_set` ran).
    virtual void link_state_changed() {}
    // A new catalogue was loaded.
    virtual void catalogue_changed() {}
};

}  // namespace t27
