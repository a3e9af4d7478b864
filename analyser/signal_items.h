#pragma once
// The analyser's values as named items for the signal log: every value label
// a view's decoding fills, named by the caption the window shows beside it.
#include <string>
#include <vector>

namespace t27 {

struct SignalItem {
    std::string control;  // the value label's object name
    std::string name;     // "Source Resolution", "H Total", "AVI VIC", ...
};

// The packet indicators of the System view carry no text; the log shows
// their colour as one of these.
inline constexpr const char* packet_present_text = "present";
inline constexpr const char* packet_absent_text = "absent";

// In the order the window shows them. System items carry their frame's name
// (Source, the unit's model or "Unit", Sink); a row continuing a packet's
// block carries the packet's name ("AVI Colorimetry"); the H/V rows of the
// timing view give one item each way ("H Total", "V Total"). A name another
// view already uses gets that view's caption first, so every name is unique
// across all five views.
std::vector<SignalItem> signal_items(int view, int task_mode, int model_family,
                                     const std::string& linked_model);

}  // namespace t27
