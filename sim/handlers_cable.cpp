// The cable test as the unit answers it: run and stop, the verdict, and the
// test clock in days, hours, minutes and seconds. Level and time stay stored
// settings, but a running test keeps the ones it started with.
#include <charconv>
#include <string>

#include "sim/cable_test.h"
#include "sim/handler_table.h"
#include "sim/unit_model.h"

namespace t27::sim {

namespace {

// The test as of now. Leaving cable mode ends a running test without a
// verdict: the unit cannot test a cable while it analyses or generates.
CableTest& current(UnitModel& unit) {
    CableTest& t = unit.state().cable;
    if (unit.state().task_mode == "cable")
        t.update(unit.now_ms());
    else
        t.abort(unit.now_ms());
    return t;
}

Reply run(UnitModel& unit, const Call& call) {
    CableTest& t = current(unit);
    if (call.args == "stop") {
        t.stop(unit.now_ms());
        return make_reply(call.word, call.args);
    }
    if (call.args != "start") return make_error(call.word, "param");
    if (unit.state().task_mode != "cable") return make_error(call.word, "mode");
    if (!t.running()) {
        const auto& s = unit.state().settings;
        const auto time = s.find("cable_time");
        const auto level = s.find("cable_level");
        int code = 1;  // stored values are 1..7 already; a fresh unit has none
        if (time != s.end())
            std::from_chars(time->second.data(), time->second.data() + time->second.size(), code);
        t.start(unit.now_ms(), code, level != s.end() && level->second == "strict");
    }
    return make_reply(call.word, call.args);
}

// Level and time are refused while a test runs, so what the unit reports is
// always what the running test uses.
Handler refuse_while_running(Handler stored) {
    return [stored](UnitModel& unit, const Call& call) {
        if (current(unit).running()) return make_error(call.word, "busy");
        return stored(unit, call);
    };
}

using ClockField = std::int64_t CableClock::*;

Handler clock_query(ClockField field) {
    return [field](UnitModel& unit, const Call& call) {
        const CableClock c = current(unit).clock(unit.now_ms());
        return make_reply(call.word, std::to_string(c.*field));
    };
}

struct ClockEntry {
    const char* word;
    ClockField field;
};

constexpr ClockEntry clock_entries[] = {
    {"$timer_day?", &CableClock::day},
    {"$timer_hour?", &CableClock::hour},
    {"$timer_minute?", &CableClock::minute},
    {"$timer_second?", &CableClock::second},
};

}  // namespace

void add_cable_handlers(HandlerTable& table) {
    table["$cable_run"] = run;
    table["$cable_run?"] = [](UnitModel& u, const Call& c) {
        return make_reply(c.word, current(u).running() ? "start" : "stop");
    };
    table["$cable_result?"] = [](UnitModel& u, const Call& c) {
        return make_reply(c.word, current(u).result());
    };
    for (const ClockEntry& e : clock_entries) table[e.word] = clock_query(e.field);
    for (const char* word : {"$cable_level", "$cable_time"}) {
        auto stored = table.find(std::string_view(word));
        if (stored != table.end()) stored->second = refuse_while_running(stored->second);
    }
}

}  // namespace t27::sim
