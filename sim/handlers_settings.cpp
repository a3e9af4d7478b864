// Every set/query pair of the command table as a stored value: "$audio_mute on"
// stores and echoes, "$audio_mute? " reports what is stored.
#include "protocol/command_table.h"
#include "sim/handler_table.h"
#include "sim/settings_table.h"
#include "sim/unit_model.h"

namespace t27::sim {

namespace {

struct Fixed {
    const char* word;
    const char* value;
};

// Queries without a set command that a fresh unit answers with a constant;
// the cable test and CEC log replace these when they are modelled.
constexpr Fixed fixed_queries[] = {
    {"$cable_result?", "none"}, {"$timer_day?", "0"},    {"$timer_hour?", "0"},
    {"$timer_minute?", "0"},    {"$timer_second?", "0"}, {"$cec_log_msg?", "none"},
};

// Commands that only act; the unit confirms them by echoing the request.
constexpr const char* echo_words[] = {"$cec_log_clear", "$cec_msg_send"};

Reply set_value(UnitModel& unit, const Call& call, const SettingDef& def) {
    std::optional<std::string> v = accept_value(def, call.args);
    if (!v) return make_error(call.word, "param");
    unit.state().settings[def.key] = *v;
    return make_reply(call.word, *v);
}

Reply query_value(UnitModel& unit, const Call& call, const SettingDef& def) {
    return make_reply(call.word, unit.state().settings[def.key]);
}

}  // namespace

void add_settings_handlers(HandlerTable& table) {
    for (const std::string& entry : command_table()) {
        if (entry.empty()) continue;
        std::string word = cmdstr_cmd_get(entry + '\r');
        bool query = word.back() == '?';
        std::string key = word.substr(1, word.size() - (query ? 2 : 1));
        const SettingDef* def = find_setting(key);
        if (!def) continue;
        if (query) {
            table[word] = [def](UnitModel& u, const Call& c) { return query_value(u, c, *def); };
        } else if (entry.back() == ' ') {
            table[word] = [def](UnitModel& u, const Call& c) { return set_value(u, c, *def); };
        }
    }
    for (const Fixed& f : fixed_queries) {
        std::string value = f.value;
        table[f.word] = [value](UnitModel&, const Call& c) { return make_reply(c.word, value); };
    }
    for (const char* w : echo_words)
        table[w] = [](UnitModel&, const Call& c) { return make_reply(c.word, c.args); };
}

}  // namespace t27::sim
