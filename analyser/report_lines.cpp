#include "analyser/report_lines.h"

#include <array>

#include "analyser/report_rules.h"
#include "analyser/value_text.h"

namespace t27 {

namespace {

using report::SectionRules;

using RulesOf = SectionRules (*)();
// Indexed by section (= analyser view).
constexpr std::array<RulesOf, analyser_view_count> section_rules = {
    report::system_rules, report::video_rules, report::audio_rules, report::packet_rules,
    report::hdcp_rules};

}  // namespace

std::vector<std::string> report_item_lines(int section, int index, const PollReply& reply,
                                           const ReportContext& context, AnalyserState& state) {
    std::vector<std::string> lines;
    if (section < 0 || section >= analyser_view_count) return lines;
    const SectionRules rules = section_rules[static_cast<std::size_t>(section)]();
    report::ReportItem item{reply, context, state, lines};
    for (const report::LineRule& r : rules.lines) {
        if (r.index != index) continue;
        const std::string& raw = r.from_p1 ? reply.p1 : reply.p2;
        const std::string value = (r.upper ? upper_text(raw) : raw) + std::string(r.suffix);
        if (r.unit) {
            item.unit_line(r.label, value);
        } else {
            item.line(std::string(r.label) + value);
        }
    }
    for (const report::RuleEntry& r : rules.specials) {
        if (r.index == index) r.rule(item);
    }
    return lines;
}

std::vector<std::string> raw_packet_lines(const std::string& packet) {
    std::vector<std::string> lines;
    std::string line = "   ";
    int groups = 0;
    for (std::size_t pos = 0; pos < packet.size(); pos += 3) {
        line += packet.substr(pos, 3);
        if (++groups % 10 == 0) {
            lines.push_back(line);
            line = "   ";
        }
    }
    // The block always closes its last line, even the bare three blanks that
    // follow a tenth group.
    lines.push_back(line);
    return lines;
}

}  // namespace t27
