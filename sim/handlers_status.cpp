// Status the unit measures rather than stores: the input's and the sink's
// items, the output timing, and the output HDCP state.
#include <string>

#include "sim/handler_table.h"
#include "sim/settings_table.h"
#include "sim/unit_model.h"

namespace t27::sim {

namespace {

using ItemMap = std::map<std::string, std::string, std::less<>>;

// "$source_detect? avi" → "$source_detect? avi,82 02 …": item name first,
// then the value.
Reply item_reply(const ItemMap& items, const Call& call) {
    auto it = items.find(call.args);
    if (it == items.end()) return make_error(call.word, "item");
    return make_reply(call.word, it->first + "," + it->second);
}

// The output follows the input while the unit analyses and is its own
// timing otherwise.
Reply timingx(UnitModel& unit, const Call& call) {
    const UnitState& s = unit.state();
    if (s.task_mode == "analyser") {
        auto it = s.source_items.find("timingx");
        return make_reply(call.word, it != s.source_items.end() ? it->second : "none");
    }
    return make_reply(call.word, s.output_timing_text);
}

// Output HDCP is reported as its version and whether authentication with
// the sink completed ("v2.2_on") or is still trying ("v2.2_talk"); the set
// command answers with the same state.
std::string hdcp_out_state(const UnitState& s) {
    auto sw = s.settings.find("hdcp_out_sw");
    if (sw == s.settings.end() || sw->second == "off") return "off";
    auto ver = s.settings.find("hdcp_out_ver");
    std::string v = ver != s.settings.end() ? ver->second : "v1.4";
    return v + (s.edid.sink_present ? "_on" : "_talk");
}

Reply hdcp_out_sw_set(UnitModel& unit, const Call& call) {
    const SettingDef* def = find_setting("hdcp_out_sw");
    std::optional<std::string> v = def ? accept_value(*def, call.args) : std::nullopt;
    if (!v) return make_error(call.word, "param");
    unit.state().settings["hdcp_out_sw"] = *v;
    return make_reply(call.word, hdcp_out_state(unit.state()));
}

}  // namespace

void add_status_handlers(HandlerTable& table) {
    table["$source_detect?"] = [](UnitModel& u, const Call& c) {
        return item_reply(u.state().source_items, c);
    };
    table["$sink_detect?"] = [](UnitModel& u, const Call& c) {
        return item_reply(u.state().sink_items, c);
    };
    table["$timingx?"] = timingx;
    table["$hdcp_out_sw"] = hdcp_out_sw_set;
    table["$hdcp_out_sw?"] = [](UnitModel& u, const Call& c) {
        return make_reply(c.word, hdcp_out_state(u.state()));
    };
}

}  // namespace t27::sim
