#pragma once
// The output control panel's buttons: what each one sends, which read-back
// group reads its reply, and how the buttons stand in labelled rows.
#include <array>
#include <span>
#include <string>

namespace t27 {

inline constexpr int panel_button_count = 62;
inline constexpr int panel_no_group = -1;

// Re-reads run after the reply of a button whose setting moves others too.
enum class PanelReread { none, hdr, format };

struct PanelButton {
    int index = 0;
    const char* caption = "";
    int command = -1;        // CommandTable index; -1 for an unused index
    const char* value = "";  // appended to the command text
    int group = panel_no_group;
    PanelReread reread = PanelReread::none;
    // A switch that has to be on before a version can be chosen.
    int pre_command = -1;
    const char* pre_value = "";
};

struct PanelRow {
    const char* caption;
    std::span<const int> buttons;  // left to right
    bool shown = true;             // the AVMute row is never shown
};

// The button with this index (an unused index gives an entry with command -1).
const PanelButton& panel_button(int index);

// The 62 request texts (without CR); 50, 51 and 61 are empty.
const std::array<std::string, panel_button_count>& panel_commands();

// The pre-step request for a button (without CR), or empty.
std::string panel_pre_request(int index);

// Rows in their order on the tab; the system buttons form the last row.
std::span<const PanelRow> panel_rows();

// The toggle pulses the hot-plug line low: its "Low" and "High" buttons are
// painted around the request.
inline constexpr int panel_hotplug_toggle = 5;
inline constexpr int panel_hotplug_low = 56;
inline constexpr int panel_hotplug_high = 57;
inline constexpr int panel_factory_reset = 0;
inline constexpr int panel_reboot = 1;

}  // namespace t27
