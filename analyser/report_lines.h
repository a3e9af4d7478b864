#pragma once
// The monitor report's lines for one reply of one section.
#include <span>
#include <string>
#include <vector>

#include "analyser/analyser_state.h"
#include "analyser/decode_reply.h"

namespace t27 {

struct ReportContext {
    int task_mode = 254;
    int model_family = 254;
    // Starts every line about the unit's own ports; empty while not linked.
    std::string linked_model;
    // The pattern list's entry texts in list order (for "$pattern?").
    std::span<const std::string> patterns;
};

// `section` is the analyser view number of the section, `index` the command
// that was sent. Lines come without line ends; an empty string is an empty
// line. A command the section has no line for gives nothing, though it may
// still change the state (flags, totals).
std::vector<std::string> report_item_lines(int section, int index, const PollReply& reply,
                                           const ReportContext& context, AnalyserState& state);

// A packet's hex text as report lines of ten "HH " groups, each line opened by
// three blanks. After every tenth group the next line is opened, so a packet
// of a multiple of ten bytes ends with a line of three blanks.
std::vector<std::string> raw_packet_lines(const std::string& packet);

}  // namespace t27
