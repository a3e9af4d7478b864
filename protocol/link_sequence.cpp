#include "protocol/link_sequence.h"

#include "protocol/model_table.h"

namespace t27 {

namespace {

constexpr const char* task_texts[] = {"analyser", "pattern", "cable"};

}  // namespace

const char* task_mode_text(int task_mode) {
    if (task_mode < 0 || task_mode > 2) return "";
    return task_texts[task_mode];
}

int task_mode_from_text(const std::string& text) {
    for (int i = 0; i < 3; ++i)
        if (text == task_texts[i]) return i;
    return not_known;
}

bool task_mode_set(Engine& engine, const std::string& task) {
    engine.cmdtx_str("$task_mode " + task + "\r");
    if (engine.link().cmdrx_status != ReplyStatus::Accepted) return false;
    const int mode = task_mode_from_text(reply_param1(engine));
    if (mode != not_known) engine.unit().task_mode = mode;
    return true;
}

int board_id_get(Engine& engine) {
    engine.cmdtx_str("$board_id?\r");
    const LinkState& s = engine.link();
    if (s.cmdrx_status != ReplyStatus::Accepted) return 0;
    if (s.cmdrx_param1 == "1") return 1;
    if (s.cmdrx_param1 == "2") return 2;
    return 0;
}

void link_sequence(Engine& engine, LinkHooks& hooks) {
    LinkState& s = engine.link();
    UnitIdentity& unit = engine.unit();

    hooks.set_link_enabled(false);
    engine.pump().process_events();

    engine.cmdtx_str("$model?\r");
    if (s.cmdrx_status != ReplyStatus::Accepted) {
        hooks.set_link_enabled(true);
        return;
    }
    engine.cmdrx_param_get();
    const std::string model = s.cmdrx_param1;
    std::string caption = model;

    const int board = board_id_get(engine);
    if (board == 1 || board == 2) caption += " .";
    hooks.set_model_caption(caption);

    const int family = model_family_of(model);
    unit.linked_model = family == not_known ? std::string() : model;
    if (family != unit.model_family || board != unit.board_id) {
        unit.model_family = family;
        unit.board_id = board;
        hooks.load_catalogue(catalogue_file_for(family, board, unit.linked_model));
    }

    hooks.set_edid_second_entry(unit.model_family == family_v4 ? "VGA  Sink" : "---      ");

    engine.cmdtx_str("$fwver?\r");
    if (s.cmdrx_status == ReplyStatus::Accepted) {
        hooks.set_fw_caption("FW: " + s.cmdrx_param1);
        engine.cmdtx_str("$task_mode?\r");
        if (s.cmdrx_status == ReplyStatus::Accepted) {
            const int task = task_mode_from_text(s.cmdrx_param1);
            if (task != not_known) unit.task_mode = task;
            hooks.ui_var_set();
        }
    }
    hooks.set_link_enabled(true);
}

}  // namespace t27
