// Who the unit is and what it is doing: boot probe, model, board, firmware,
// task mode, the command list and the factory reset.
#include <string>

#include "sim/handler_table.h"
#include "sim/unit_model.h"

namespace t27::sim {

namespace {

constexpr const char* task_modes[] = {"analyser", "pattern", "cable"};

bool is_task_mode(std::string_view mode) {
    for (const char* m : task_modes)
        if (mode == m) return true;
    return false;
}

Reply task_mode_set(UnitModel& unit, const Call& call) {
    if (!is_task_mode(call.args)) return make_error(call.word, "param");
    unit.state().task_mode = std::string(call.args);
    return make_reply(call.word, call.args);
}

// The list answer spans lines and ends with EOT so that a terminal knows
// where it stops; its lines are the command words the unit understands.
Reply help_list(UnitModel& unit, const Call& call) {
    Reply r;
    r.line = std::string(call.word) + "\r\n";
    r.line += unit.state().identity.model + " " + unit.state().identity.firmware + " commands:\r\n";
    for (const auto& entry : unit.handlers()) r.line += entry.first + "\r\n";
    r.line.push_back('\x04');
    return r;
}

Reply boot(UnitModel&, const Call& call) {
    if (call.args != "go") return make_error(call.word, "param");
    return make_reply(call.word, call.args);
}

Reply factory(UnitModel& unit, const Call& call) {
    unit.factory_reset();
    return make_reply(call.word);
}

}  // namespace

void add_identity_handlers(HandlerTable& table) {
    table["$boot?"] = [](UnitModel&, const Call& c) { return make_reply(c.word, "ready"); };
    table["$boot"] = boot;
    table["$factory"] = factory;
    table["$model?"] = [](UnitModel& u, const Call& c) {
        return make_reply(c.word, u.state().identity.model);
    };
    table["$board_id?"] = [](UnitModel& u, const Call& c) {
        return make_reply(c.word, std::to_string(u.state().identity.board_id));
    };
    table["$fwver?"] = [](UnitModel& u, const Call& c) {
        return make_reply(c.word, u.state().identity.firmware);
    };
    table["$task_mode?"] = [](UnitModel& u, const Call& c) {
        return make_reply(c.word, u.state().task_mode);
    };
    table["$task_mode"] = task_mode_set;
    table["$?"] = help_list;
    table["$help"] = help_list;
}

}  // namespace t27::sim
