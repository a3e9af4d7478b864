// `t27ctl monitor-report`: the Monitor tab's REPORT, built by the same code,
// printed or written whole to a file.
#include <array>
#include <iostream>

#include "analyser/qt/report_clock.h"
#include "analyser/report_progress.h"
#include "analyser/report_query.h"
#include "app/t27ctl/monitor.h"
#include "common/atomic_write.h"
#include "common/console.h"
#include "common/json_out.h"
#include "common/qt/qt_text.h"
#include "protocol/link_sequence.h"
#include "protocol/request_text.h"

namespace t27 {

namespace {

constexpr std::array<const char*, analyser_view_count> section_names = {
    "System", "Video Timing", "Audio Timing", "Packet", "HDCP & SCDC"};

struct ReportOptions {
    std::array<bool, analyser_view_count> ticked{};
    std::string out_file;
    bool json = false;
};

// The sections named (all five when none is).
std::array<bool, analyser_view_count> sections_ticked(const std::vector<std::string>& names) {
    std::array<bool, analyser_view_count> ticked{};
    for (const std::string& n : names)
        if (const std::optional<int> view = monitor_view_of(n))
            ticked[static_cast<std::size_t>(*view)] = true;
    if (names.empty()) ticked.fill(true);
    return ticked;
}

std::string with_lf(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}

// Times and dates as ISO 8601, whatever the header's local formats are.
std::string json_document(const ReportHeader& h, const QDateTime& when,
                          const std::string& link_json, const ReportSections& sections,
                          const std::string& report) {
    json::Array list;
    for (const ReportSectionLines& s : sections.sections) {
        json::Array lines;
        for (const std::string& l : s.lines) lines.add(l);
        list.add_raw(json::Object()
                         .add("name", section_names[static_cast<std::size_t>(s.section)])
                         .add_raw("lines", lines.str())
                         .str());
    }
    const char* task = task_mode_text(h.task_mode);
    return json::Object()
               .add_raw("link", link_json)
               .add("time", from_qt(when.time().toString(Qt::ISODate)))
               .add("date", from_qt(when.date().toString(Qt::ISODate)))
               .add("model", h.model_text)
               .add("firmware", firmware_version(h.firmware_text))
               .add("program_version", program_version_text)
               .add("task_mode", *task ? task : "unknown")
               .add_raw("sections", list.str())
               .add("report", report)
               .add_null("error")
               .str() +
           "\n";
}

}  // namespace

int t27ctl_monitor_report(const LinkOptions& options, const CtlArgs& args) {
    ReportOptions ro;
    ro.ticked = sections_ticked(args.sections);
    ro.out_file = args.out_file;
    ro.json = args.json;

    CliLink cli(options);
    std::string why;
    if (const std::optional<int> failed = monitor_link_up(cli, &why)) {
        if (ro.json) std::cout << cli.failure_json(why) << "\n" << std::flush;
        return *failed;
    }
    const std::vector<std::string> patterns = monitor_patterns(cli);

    ReportContext ctx;
    ctx.task_mode = cli.unit().task_mode;
    ctx.model_family = cli.unit().model_family;
    ctx.linked_model = cli.unit().linked_model;
    ctx.patterns = patterns;
    AnalyserState state;
    const bool show_progress = stderr_is_terminal();
    ReportProgress last;
    const ReportSections sections = build_report_sections(
        ro.ticked, ctx, state,
        [&cli](int index) { return engine_report_query(cli.engine(), index); },
        [&](const ReportProgress& p) {
            last = p;
            if (show_progress) std::cerr << "\r" << report_progress_text(p) << std::flush;
        });
    if (show_progress) std::cerr << "\n";
    if (sections.aborted) {
        const std::string failure = report_stopped_text(last) + " (" +
                                    std::string(reply_status_name(sections.failed_status)) + ")";
        std::cerr << "t27ctl: " << failure << "\n";
        if (ro.json) std::cout << cli.failure_json(failure) << "\n" << std::flush;
        if (sections.failed_status == ReplyStatus::NotSent || !cli.open_now())
            return monitor_exit_link;
        return static_cast<int>(sections.failed_status);
    }

    ReportHeader h;
    const QDateTime now = QDateTime::currentDateTime();
    set_report_clock(h, now);
    h.model_text = cli.view().model;
    h.firmware_text = cli.view().fw;
    h.task_mode = cli.unit().task_mode;
    const std::string report = report_header(h) + sections.text;

    const std::string out =
        ro.json ? json_document(h, now, cli.link_json(), sections, report)
                : (ro.out_file.empty() ? terminal_text(with_lf(report), true)
                                       : report_file_contents(report));
    if (ro.out_file.empty()) {
        std::cout << out << std::flush;
        return monitor_exit_ok;
    }
    why.clear();
    if (!write_file_atomically(ro.out_file, out, &why)) {
        std::cerr << "t27ctl: " << ro.out_file << ": " << why << "\n";
        return monitor_exit_link;
    }
    return monitor_exit_ok;
}

}  // namespace t27
