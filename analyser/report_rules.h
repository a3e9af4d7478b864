#pragma once
// Inside the report's line tables: the reply being written and the helpers
// every rule uses. Not for use outside analyser/.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analyser/report_lines.h"

namespace t27::report {

struct ReportItem {
    const PollReply& reply;
    const ReportContext& context;
    AnalyserState& state;
    std::vector<std::string>& lines;

    const std::string& p1() const { return reply.p1; }
    const std::string& p2() const { return reply.p2; }
    void line(std::string text) { lines.push_back(std::move(text)); }
    // A line about the unit's own ports: the model text, then the label.
    void unit_line(std::string_view label, std::string_view value) {
        lines.push_back(context.linked_model + std::string(label) + std::string(value));
    }
};

// Label, then a reply value, then a unit text.
struct LineRule {
    int index;
    bool unit;     // starts with the model text
    bool from_p1;  // else P2
    bool upper;
    std::string_view label;
    std::string_view suffix;
};

using Rule = void (*)(ReportItem&);

struct RuleEntry {
    int index;
    Rule rule;
};

struct SectionRules {
    std::span<const LineRule> lines;
    std::span<const RuleEntry> specials;
};

SectionRules system_rules();
SectionRules video_rules();
SectionRules audio_rules();
SectionRules packet_rules();
SectionRules hdcp_rules();

// Shared by the System and HDCP & SCDC sections.
void hdcp_in_switch(ReportItem& r);
void hdcp_in_version(ReportItem& r);
void hdcp_out_switch(ReportItem& r);
void hdcp_out_version(ReportItem& r);

}  // namespace t27::report
