#include "generator/calibration.h"

#include <cctype>

#include "generator/output_select.h"
#include "protocol/command_table.h"

namespace t27 {

namespace {

struct ComponentCommands {
    int set;
    int query;
};

// Indexed by CalComponent.
constexpr ComponentCommands component_commands[] = {
    {186, 187},  // level
    {188, 189},  // red
    {184, 185},  // green
    {180, 181},  // blue
};
constexpr int colour_set = 182;
constexpr int colour_query = 183;

std::optional<int> digits_value(std::string_view s) {
    if (s.empty()) return std::nullopt;
    int v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
        // Leading zeros keep v small; anything past the limit can stop here
        // before it could overflow.
        if (v > calibrate_max_value) return std::nullopt;
    }
    return v;
}

}  // namespace

std::string calibrate_set_request(CalComponent c, std::string_view value) {
    return command_text(component_commands[static_cast<int>(c)].set) + std::string(value);
}

std::string calibrate_query(CalComponent c) {
    return command_text(component_commands[static_cast<int>(c)].query);
}

std::string calibrate_colour_request(int entry) {
    if (entry < 0 || entry >= static_cast<int>(calibrate_colours.size())) return {};
    return command_text(colour_set) + calibrate_colours[static_cast<std::size_t>(entry)];
}

std::string calibrate_colour_query() { return command_text(colour_query); }

int calibrate_colour_entry(std::string_view reply) {
    for (std::size_t i = 0; i < calibrate_colours.size(); ++i) {
        std::string lower = calibrate_colours[i];
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (reply == lower) return static_cast<int>(i);
    }
    return -1;
}

CalibrateEntry calibrate_typed_value(std::string_view typed) {
    CalibrateEntry e;
    e.text = trim_blanks(typed);
    if (std::optional<int> v = digits_value(e.text)) {
        e.valid = true;
        e.value = *v;
    }
    return e;
}

std::optional<int> calibrate_reply_value(std::string_view reply) { return digits_value(reply); }

}  // namespace t27
