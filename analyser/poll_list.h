#pragma once
// Which status queries make up one poll cycle of the Monitor tab.
#include <vector>

#include "analyser/analyser_state.h"

namespace t27 {

// Command-table indices in sending order. The list holds no end marker: its
// size is its end, and an empty list sends nothing. Views without a list of
// their own in a task mode (the timing, audio and packet views outside the
// analyser mode, every view in cable mode or before the mode is known) give
// the empty list.
std::vector<int> poll_list_for(int view, int task_mode);

// poll_list_for() plus the flag resets that building a list implies: the
// System list in analyser mode clears AspActive and HdcpInOn, the HDCP list
// clears HdcpInOn in analyser mode and HdcpOutOn in pattern mode.
std::vector<int> build_poll_list(int view, int task_mode, AnalyserState& state);

}  // namespace t27
