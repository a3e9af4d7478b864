#include "analyser/monitor_report.h"

#include "analyser/name_table.h"
#include "analyser/poll_list.h"
#include "common/file_names.h"

namespace t27 {

namespace {

constexpr std::string_view crlf = "\r\n";

constexpr std::array<std::string_view, analyser_view_count> section_titles = {
    "========== Monitor System", "========== Monitor Video Timing",
    "========== Monitor Audio Timing", "========== Monitor Packet",
    "========== Monitor HDCP & SCDC"};

constexpr std::array<std::string_view, 3> mode_names = {"Analyzer Mode", "Pattern Mode",
                                                        "Cable Test Mode"};

bool reply_usable(ReplyStatus s) {
    return s == ReplyStatus::Accepted || s == ReplyStatus::ErrorReply;
}

}  // namespace

std::string_view report_section_title(int section) {
    if (section < 0 || section >= analyser_view_count) return {};
    return section_titles[static_cast<std::size_t>(section)];
}

ReportSections build_report_sections(const std::array<bool, analyser_view_count>& ticked,
                                     const ReportContext& context, AnalyserState& state,
                                     const ReportQuery& query, const ReportProgressSink& progress) {
    ReportProgress p;
    for (int s = 0; s < analyser_view_count; ++s) {
        if (!ticked[static_cast<std::size_t>(s)]) continue;
        ++p.sections_total;
        p.items_total += static_cast<int>(poll_list_for(s, context.task_mode).size());
    }
    if (progress) progress(p);

    ReportSections out;
    for (int s = 0; s < analyser_view_count; ++s) {
        if (!ticked[static_cast<std::size_t>(s)]) continue;
        ReportSectionLines& lines = out.sections.emplace_back();
        lines.section = s;
        lines.lines.emplace_back(report_section_title(s));
        for (int index : build_poll_list(s, context.task_mode, state)) {
            const ReportReply reply = query ? query(index) : ReportReply{};
            if (!reply_usable(reply.status)) {
                out.aborted = true;
                out.failed_status = reply.status;
                out.sections.clear();
                return out;
            }
            for (const std::string& line :
                 report_item_lines(s, index, reply.params, context, state))
                lines.lines.push_back(line);
            ++p.items_done;
            if (progress) progress(p);
        }
        ++p.sections_done;
        if (progress) progress(p);
    }
    // Each section opens with a blank line; its title is its first line.
    for (const ReportSectionLines& section : out.sections) {
        out.text += crlf;
        for (const std::string& line : section.lines) {
            out.text += line;
            out.text += crlf;
        }
    }
    return out;
}

std::string report_header(const ReportHeader& h) {
    std::string text = "Monitor Report " + h.time_text + " " + h.date_text;
    text += crlf;
    text += "Model: " + h.model_text + " , " + h.firmware_text + " , AP: ";
    text += program_version_text;
    text += crlf;
    text += table_text(mode_names, h.task_mode);
    text += crlf;
    return text;
}

std::string report_file_name(std::string_view chosen) {
    const std::string name(chosen);
    const std::size_t folder_end = name.find_last_of("/\\");
    const std::size_t base = folder_end == std::string::npos ? 0 : folder_end + 1;
    if (base == name.size()) return {};  // a folder, no file name
    return with_extension(name, ".txt");
}

std::string report_file_contents(std::string_view report_text) {
    std::string out(report_text);
    out += crlf;
    return out;
}

}  // namespace t27
