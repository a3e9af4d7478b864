#pragma once
// Linking: ask the unit who it is, derive its family, load the catalogue that
// goes with it, and read the firmware and task mode.
#include <string>

#include "protocol/engine.h"

namespace t27 {

// The visible side of linking. The main window shows these on its labels;
// t27ctl prints them; tests record them.
class LinkHooks {
public:
    virtual ~LinkHooks() = default;
    virtual void set_link_enabled(bool /*on*/) {}
    virtual void set_model_caption(const std::string& /*text*/) {}
    virtual void set_fw_caption(const std::string& /*text*/) {}
    // Second entry of both EDID source/target selectors.
    virtual void set_edid_second_entry(const std::string& /*text*/) {}
    virtual void load_catalogue(const std::string& /*file*/) {}
    virtual void ui_var_set() {}
};

// "$board_id?": 0, 1 or 2 from an accepted reply; 0 for anything else.
int board_id_get(Engine& engine);

// The link sequence after the caller's own busy check. Leaves the outcome of
// its last transaction in the engine's link state.
void link_sequence(Engine& engine, LinkHooks& hooks);

// Asks the unit to take up a task ("analyser", "pattern", "cable"), as the
// task pictures do. On an accepted reply the task mode becomes the one the
// unit names (a name it does not know leaves it unchanged); returns whether
// the reply was accepted, the outcome itself stays in the link state.
bool task_mode_set(Engine& engine, const std::string& task);

// Task texts as the unit names them; index = task_mode.
const char* task_mode_text(int task_mode);
int task_mode_from_text(const std::string& text);  // 254 when unknown

}  // namespace t27
