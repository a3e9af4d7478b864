#pragma once
// The poll-reply dispatcher: one accepted reply of the poll list in, display
// updates and changed analyser state out. Needs no window.
#include <functional>
#include <span>
#include <vector>
#include <string>

#include "analyser/analyser_state.h"
#include "analyser/display_update.h"

namespace t27 {

// The reply's parameters as the transaction split them; "None" when absent.
struct PollReply {
    std::string p1 = "None";
    std::string p2 = "None";
    std::string p3 = "None";
};

struct DecodeContext {
    int view = view_system;
    int task_mode = 254;
    // The pattern list's entry texts in list order; "$pattern?" answers a
    // 1-based position in it.
    std::span<const std::string> patterns;
    // The caption a control shows now. Two rules only change a label when it
    // shows a given text. Unset reads as empty.
    std::function<std::string(const std::string& control)> caption;
    // Receives the first parameter of a cable-test reply. Optional: the result
    // says so too.
    std::function<void(const std::string& p1)> cable_reply_show;
};

// `index` is the command-table index that was sent. A reply matching no rule
// gives no updates.
DisplayUpdates decode_reply(int index, const PollReply& reply, const DecodeContext& context,
                            AnalyserState& state);

// The other poll items whose replies decide what the reply to `index` shows:
// the state or caption its rule reads was written by them. Empty for a reply
// that shows only itself.
std::span<const int> reply_inputs(int index);

}  // namespace t27
