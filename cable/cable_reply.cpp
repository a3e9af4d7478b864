#include "cable/cable_reply.h"

#include <iterator>

#include "cable/cable_commands.h"
#include "cable/cable_progress.h"
#include "cable/cable_text.h"
#include "cable/cable_times.h"

namespace t27 {

namespace {

using Rule = void (*)(CableView&, const std::string&, const CableGeometry&);

void show_level(CableView& v, const std::string& p, const CableGeometry&) {
    // Upper case is also what the Test Level toggle compares against.
    v.level = upper_text(p);
}

void show_result(CableView& v, const std::string& p, const CableGeometry&) {
    v.result = upper_text(p);
}

void show_run(CableView& v, const std::string& p, const CableGeometry&) {
    bool running = false;
    if (p == "start")
        running = true;
    else if (p != "stop")
        return;  // a state the tab does not know changes nothing
    v.start_enabled = !running;
    v.start_border = running ? cable_border_unusable : cable_border_usable;
    v.stop_enabled = running;
    v.stop_border = running ? cable_border_usable : cable_border_unusable;
    // The duration the bar divides by cannot change during a test.
    v.time_enabled = !running;
    v.level_enabled = !running;
}

void move_arrow(CableView& v, const CableGeometry& g) {
    int x = v.arrow_left + cable_arrow_step;
    if (x > g.frame_width - g.arrow_width) x = 0;
    v.arrow_left = x;
}

void show_time(CableView& v, const std::string& p, const CableGeometry& g) {
    if (v.cable_time_focus) return;  // the user is choosing
    const std::optional<int> entry = cable_time_entry_of(p);
    if (!entry) return;  // no list entry to show
    v.time_entry = *entry;
    if (*entry != cable_time_endless) {
        if (v.running()) {
            v.arrow_visible = false;
            v.result_visible = false;
            v.pbar_visible = true;
        } else {
            v.pbar_visible = false;
            v.result_visible = true;
        }
        return;
    }
    v.arrow_visible = true;
    v.result_visible = true;
    v.pbar_visible = false;
    if (v.running()) {
        v.result = "Testing";
        move_arrow(v, g);  // one step per poll cycle
    }
}

template <CableTimerField field>
void show_timer(CableView& v, const std::string& p, const CableGeometry&) {
    v.timer[field] = p;
    cable_progress_update(v);
}

struct Entry {
    int index;
    Rule rule;
};

constexpr Entry rules[] = {
    {cmd_cable_level_query, show_level},
    {cmd_cable_result_query, show_result},
    {cmd_cable_run_query, show_run},
    {cmd_cable_time_query, show_time},
    {cmd_timer_day_query, show_timer<timer_day>},
    {cmd_timer_hour_query, show_timer<timer_hour>},
    {cmd_timer_minute_query, show_timer<timer_minute>},
    {cmd_timer_second_query, show_timer<timer_second>},
};

}  // namespace

void cable_reply_show(CableView& view, int index, const std::string& p,
                      const CableGeometry& geometry) {
    for (const Entry& e : rules)
        if (e.index == index) return e.rule(view, p, geometry);
}

}  // namespace t27
