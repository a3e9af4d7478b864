#include "sim/control.h"

#include <charconv>

#include "sim/cable_control.h"
#include "sim/status_items.h"

namespace t27::sim {

namespace {

constexpr const char* task_modes[] = {"analyser", "pattern", "cable"};

std::pair<std::string_view, std::string_view> first_word(std::string_view s) {
    std::size_t blank = s.find(' ');
    if (blank == std::string_view::npos) return {s, {}};
    return {s.substr(0, blank), s.substr(blank + 1)};
}

// A value goes back to the program inside a reply line: no line ends.
bool safe_text(std::string_view v) {
    return !v.empty() && v.find_first_of(std::string_view("\r\n\x04", 3)) == std::string_view::npos;
}

std::string set(UnitModel& unit, std::string_view what, std::string_view value) {
    UnitState& s = unit.state();
    if (what == "model" || what == "fw") {
        if (!safe_text(value) || value.find(',') != std::string_view::npos)
            return "error: " + std::string(what) + " needs a text without commas";
        (what == "model" ? s.identity.model : s.identity.firmware) = std::string(value);
        return "ok";
    }
    if (what == "board") {
        int n = -1;
        auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
        if (ec != std::errc() || end != value.data() + value.size() || n < 0 || n > 255)
            return "error: board needs a number 0 to 255";
        s.identity.board_id = n;
        return "ok";
    }
    if (what == "task") {
        for (const char* m : task_modes)
            if (value == m) {
                s.task_mode = m;
                return "ok";
            }
        return "error: task is analyser, pattern or cable";
    }
    if (what == "sink") {
        if (!unit.attach_sink(value)) return "error: unknown sink '" + std::string(value) + "'";
        return "ok";
    }
    if (what == "source" || what == "sinkitem") {
        auto [item, v] = first_word(value);
        if (item.empty() || !safe_text(v)) return "error: set " + std::string(what) + " ITEM VALUE";
        auto& items = what == "source" ? s.source_items : s.sink_items;
        // A misspelt item would otherwise be stored where nothing ever asks.
        auto it = items.find(item);
        if (it == items.end())
            return "error: the unit reports no " +
                   std::string(what == "source" ? "source" : "sink") + " item '" +
                   std::string(item) + "'";
        it->second = std::string(v);
        return "ok";
    }
    if (std::string r = set_cable_option(unit, what, value); !r.empty()) return r;
    return "error: nothing called '" + std::string(what) + "' to set";
}

// Longest glitch: an hour. Longer is a scenario change, not a glitch.
constexpr std::int64_t max_glitch_ms = 3600000;

std::string glitch(UnitModel& unit, std::string_view args) {
    auto [name, ms_text] = first_word(args);
    std::int64_t ms = 0;
    auto [end, ec] = std::from_chars(ms_text.data(), ms_text.data() + ms_text.size(), ms);
    if (name.empty() || ec != std::errc() || end != ms_text.data() + ms_text.size() || ms < 1 ||
        ms > max_glitch_ms)
        return "error: glitch SCENARIO MS (1 to " + std::to_string(max_glitch_ms) + " ms)";
    if (!find_scenario(name))
        return "error: no scenario called '" + std::string(name) + "' (see --list-scenarios)";
    unit.glitch(name, ms);
    return "ok";
}

}  // namespace

std::string run_control(UnitModel& unit, std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    auto [cmd, rest] = first_word(line);
    if (cmd.empty()) return "error: empty command";
    if (cmd == "set") {
        auto [what, value] = first_word(rest);
        return set(unit, what, value);
    }
    if (cmd == "scenario") {
        const Scenario* sc = find_scenario(rest);
        if (!sc)
            return "error: no scenario called '" + std::string(rest) + "' (see --list-scenarios)";
        unit.settle_glitch(true);
        apply_scenario(unit.state(), *sc);
        return "ok";
    }
    if (cmd == "glitch") return glitch(unit, rest);
    if (!is_fault_name(cmd)) return "error: unknown command '" + std::string(cmd) + "'";
    std::string err = arm_fault(unit.faults(), line);
    return err.empty() ? "ok" : "error: " + err;
}

const char* control_help() {
    return "  drop N               swallow the next N replies\n"
           "  delay MS             hold every reply MS milliseconds (0 ends it)\n"
           "  unsolicited LINE     send LINE (CR LF added) before the next reply\n"
           "  err                  answer the next request with \"err\"\n"
           "  wrongword            answer the next request with another command word\n"
           "  garbage N            send N noise bytes before the next reply\n"
           "  close                close the connection instead of the next reply\n"
           "  close-mid-block      close halfway through the next EDID data block\n"
           "  dup                  send the next reply twice\n"
           "  clear                disarm every fault\n"
           "  set model TEXT       model text (\"$model?\")\n"
           "  set board N          board id (\"$board_id?\")\n"
           "  set fw TEXT          firmware text (\"$fwver?\")\n"
           "  set task MODE        analyser, pattern or cable\n"
           "  set sink NAME        none, default, d1..d10, 3block or 4block\n"
           "  scenario NAME        the source sends what scenario NAME describes\n"
           "                       (see --list-scenarios); drops every set source\n"
           "  glitch NAME MS       the source sends scenario NAME for MS milliseconds,\n"
           "                       then what it sent before (a dropout: no-signal)\n"
           "  set source ITEM V    value of \"$source_detect? ITEM\" until the next\n"
           "                       scenario (an item the unit reports)\n"
           "  set sinkitem ITEM V  value of \"$sink_detect? ITEM\" (an item the unit\n"
           "                       reports)\n"
           "  set time-scale N     the cable test clock runs N times real time\n"
           "  set cable Q [S]      cable under test: good, marginal (fails strict\n"
           "                       tests) or bad; its errors show S test seconds\n"
           "                       into a test (default 45)\n";
}

}  // namespace t27::sim
