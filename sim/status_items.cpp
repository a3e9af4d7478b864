#include "sim/status_items.h"

#include "sim/scenario_items.h"

namespace t27::sim {

namespace {

struct Item {
    const char* name;
    const char* value;
};

// clang-format off
constexpr Item sink_attached[] = {
    {"hotplug", "on"}, {"rsense", "on"}, {"hdcp", "v2.2"},
    {"hdcp_aksv", "A5 3C 69 1E F0"}, {"hdcp_bksv", "5A 3C 96 E1 0F"}, {"hdcp_rxid", "3F 1A 7C 00 21"},
    {"scdc", "on"}, {"scdc_scr_enable", "off"}, {"scdc_scr_status", "off"},
    {"scdc_sink_ver", "1"}, {"scdc_source_ver", "1"},
};

constexpr Item sink_absent[] = {
    {"hotplug", "off"}, {"rsense", "off"}, {"hdcp", "off"},
    {"hdcp_aksv", "none"}, {"hdcp_bksv", "none"}, {"hdcp_rxid", "none"},
    {"scdc", "off"}, {"scdc_scr_enable", "off"}, {"scdc_scr_status", "off"},
    {"scdc_sink_ver", "0"}, {"scdc_source_ver", "0"},
};
// clang-format on

}  // namespace

std::string infoframe_hex(std::uint8_t type, std::uint8_t version,
                          const std::vector<std::uint8_t>& payload) {
    return packet_hex(infoframe_bytes(type, version, payload));
}

void apply_scenario(UnitState& state, const Scenario& scenario) {
    state.source_items = scenario_items(scenario);
    state.scenario = std::string(scenario.name);
}

void reset_source_items(UnitState& state) { apply_scenario(state, default_scenario()); }

void reset_sink_items(UnitState& state) {
    state.sink_items.clear();
    if (state.edid.sink_present) {
        for (const Item& i : sink_attached) state.sink_items[i.name] = i.value;
    } else {
        for (const Item& i : sink_absent) state.sink_items[i.name] = i.value;
    }
}

}  // namespace t27::sim
