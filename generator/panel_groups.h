#pragma once
// Reading the unit's output settings back into the panel: 21 groups, each a
// query and the rule that lights the button for the value in its reply.
#include <span>
#include <string_view>
#include <vector>

#include "common/colours.h"
#include "protocol/reply_status.h"

namespace t27 {

inline constexpr int panel_group_count = 21;

// What the panel remembers of the unit's HDCP switches: the version groups
// are read in the light of the switch groups read before them.
struct PanelFlags {
    bool hdcp_in_on = false;
    int hdcp_out_state = 0;  // 0 off, 1 v1.4_on, 2 v1.4_talk, 3 v2.2_on, 4 v2.2_talk
};

struct ButtonPaint {
    int index;
    Colour colour;
};

struct ButtonEnable {
    int index;
    bool enabled;
};

struct PanelUpdate {
    std::vector<ButtonPaint> paints;  // in order: resets first, then the lit one
    std::vector<ButtonEnable> enables;
};

// The group's query (without CR).
const std::string& panel_group_query(int group);

// Paints group `group` from the reply value `param1`; updates `flags` where
// the group carries a switch. An unknown group changes nothing.
PanelUpdate panel_show_group(int group, std::string_view param1, PanelFlags& flags);

// What a button's pre-step assumes about the switches (whatever the reply).
void panel_pre_step_flags(int index, PanelFlags& flags);

// The groups read again after a button's own reply (`hdr_reread`: HDR
// setting presets move the EOTF and colorimetry; `format_reread`: colour
// space, depth and TMDS format constrain one another).
std::span<const int> panel_reread_groups(int index);

// The groups whose reply values enable or disable this button.
std::vector<int> panel_enabling_groups(int index);

// A read-back goes on past a reply that came back, even an error one; only
// silence (or a request that never left) ends it.
bool panel_read_continues(ReplyStatus status);

// Which buttons the panel shows for a task mode and family; buttons not
// listed keep their layout visibility.
struct ButtonVisible {
    int index;
    bool visible;
};
std::vector<ButtonVisible> panel_visibility(int task_mode, int model_family);

}  // namespace t27
