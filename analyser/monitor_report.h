#pragma once
// Building the monitor report: the ticked sections' poll lists walked once,
// each reply turned into report lines. The window supplies the transaction
// and shows the result; this part needs none.
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "analyser/report_lines.h"
#include "protocol/reply_status.h"

namespace t27 {

inline constexpr std::string_view program_version_text = "2.18T";

// Captions of the section boxes, indexed like the views.
std::string_view report_section_title(int section);

// One request's outcome. The parameters must be this reply's own split even
// for an ErrorReply (run the split again when the command word differed), or
// the item would be written with the previous reply's values.
struct ReportReply {
    ReplyStatus status = ReplyStatus::NoResponse;
    PollReply params;
};

// Sends command-table entry `index` and waits for its reply.
using ReportQuery = std::function<ReportReply(int index)>;

struct ReportProgress {
    int sections_done = 0;
    int sections_total = 0;
    int items_done = 0;
    int items_total = 0;
};

using ReportProgressSink = std::function<void(const ReportProgress&)>;

// One section's lines as written, without line ends; its title first.
struct ReportSectionLines {
    int section = 0;
    std::vector<std::string> lines;
};

struct ReportSections {
    bool aborted = false;  // a reply was neither accepted nor an error reply
    // The status of the reply that stopped the report.
    ReplyStatus failed_status = ReplyStatus::NotSent;
    std::string text;                          // the sections, CR LF line ends; empty when aborted
    std::vector<ReportSectionLines> sections;  // the same, section by section
};

// Walks the ticked sections in order 0..4 for context.task_mode. Building each
// section's list resets the flags a live list build resets. Progress is
// reported before the first item and after every item and section.
ReportSections build_report_sections(const std::array<bool, analyser_view_count>& ticked,
                                     const ReportContext& context, AnalyserState& state,
                                     const ReportQuery& query,
                                     const ReportProgressSink& progress = {});

struct ReportHeader {
    std::string time_text;  // the current time and date in the user's short formats
    std::string date_text;
    std::string model_text;     // what lab_model shows
    std::string firmware_text;  // what lab_fw_ver shows
    int task_mode = 254;
};

std::string report_header(const ReportHeader& header);

// The name a report is saved under: a name ending in ".txt" (any case) stays;
// one with another short extension has it replaced ("report.log" ->
// "report.txt"); any other gets ".txt" added ("v1.2 final" -> "v1.2 final.txt"). Apply it before asking about overwriting, so
// the question is about the file that will be written.
std::string report_file_name(std::string_view chosen);

// What is written to the file: the report and a closing line end.
std::string report_file_contents(std::string_view report_text);

}  // namespace t27
