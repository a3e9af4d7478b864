#include "app/t27ctl/send.h"

#include <iostream>
#include <optional>
#include <vector>

#include "common/atomic_write.h"
#include "common/json_out.h"
#include "common/qt/qt_text.h"
#include "protocol/command_table.h"
#include "protocol/request_text.h"

namespace t27 {

namespace {

constexpr int exit_link_failed = 1;
constexpr int exit_usage = 64;

// The command monitor's log split at its CR LF line ends; at least one line.
std::vector<std::string> log_lines(const std::string& log) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < log.size(); ++i) {
        if (log[i] == '\r' && i + 1 < log.size() && log[i + 1] == '\n') {
            lines.emplace_back();
            ++i;
        } else {
            lines.back() += log[i];
        }
    }
    if (lines.size() > 1 && lines.back().empty()) lines.pop_back();
    return lines;
}

// The reply as the command monitor logs it, one indented line per logged line.
void print_log(const std::string& log) {
    bool first = true;
    for (const std::string& line : log_lines(log)) {
        std::cout << (first ? "  reply: " : "        ") << terminal_text(line) << "\n";
        first = false;
    }
}

std::string line_json(const std::string& line, const LinkState& link) {
    const ReplyStatus st = link.cmdrx_status;
    json::Array reply;
    for (const std::string& l : log_lines(link.monitor_log)) reply.add(l);
    return json::Object()
        .add("request", line)
        .add("status", static_cast<int>(st))
        .add("status_name", reply_status_name(st))
        .add("param1", link.cmdrx_param1)
        .add("param2", link.cmdrx_param2)
        .add("param3", link.cmdrx_param3)
        .add_raw("reply", reply.str())
        .str();
}

}  // namespace

int t27ctl_send(const LinkOptions& o, const std::vector<std::string>& lines, bool json_wanted) {
    CliLink cli(o);
    Engine& engine = cli.engine();
    LinkState& link = cli.link();

    if (!o.edid_bin.isEmpty()) {
        std::string bytes, why;
        if (!read_file_bytes(from_qt(o.edid_bin), bytes, &why, 1 << 20)) {
            std::cerr << "t27ctl: " << why << "\n";
            return exit_link_failed;
        }
        for (std::size_t i = 0; i < bytes.size() && i < 256; ++i)
            engine.edid_tx_data()[i] = static_cast<std::uint8_t>(bytes[i]);
    }

    // Every line is checked before any goes out, so a script never leaves the
    // unit half-way through what it meant to send.
    std::vector<std::string> requests;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string what = "Line " + std::to_string(n + 1);
        std::string why = what + " is empty (an unset variable?).";
        if (lines[n].empty() ||
            !unit_text_from_utf8(lines[n], requests.emplace_back(), why, what)) {
            std::cerr << "t27ctl: " << why << " Nothing was sent.\n";
            return exit_usage;
        }
    }

    if (!cli.open()) {
        if (json_wanted)
            std::cout << json::Object()
                             .add_null("link")
                             .add_raw("lines", "[]")
                             .add("error", cli.open_failure())
                             .str()
                      << "\n";
        return exit_link_failed;
    }
    json::Object doc;
    std::optional<std::string> error;
    if (!o.no_link) {
        cli.identify(!json_wanted);
        if (cli.unit().model_family == not_known)
            error = std::string("the unit could not be identified (") +
                    std::string(reply_status_name(link.cmdrx_status)) + ")";
    }
    doc.add_raw("link", cli.link_json());
    json::Array done;

    int exit_code = 0;
    for (const std::string& line : requests) {
        link.eot_reply = line.rfind("$?", 0) == 0 || line.rfind("$help", 0) == 0;
        link.block_follows = cmdstr_cmd_get(line + "\r") == "$edid_read";
        link.monitor_on = true;
        link.monitor_log.clear();
        // The engine keeps the last parameters when a reply carries none (the
        // windows rely on it); each printed line must show only its own.
        link.cmdrx_param1 = link.cmdrx_param2 = link.cmdrx_param3 = "None";
        engine.cmdtx_str(line + "\r");
        link.block_follows = false;
        link.eot_reply = false;
        const ReplyStatus st = link.cmdrx_status;
        if (json_wanted) {
            done.add_raw(line_json(line, link));
        } else {
            std::cout << "> " << terminal_text(line) << "\n"
                      << "  status: " << static_cast<int>(st) << " " << reply_status_name(st)
                      << "\n"
                      << "  param1: " << terminal_text(link.cmdrx_param1) << "\n"
                      << "  param2: " << terminal_text(link.cmdrx_param2) << "\n"
                      << "  param3: " << terminal_text(link.cmdrx_param3) << "\n";
            print_log(link.monitor_log);
            std::cout.flush();
        }
        if (st == ReplyStatus::NotSent) {
            exit_code = exit_link_failed;
            if (!error) error = "\"" + line + "\" was not sent: the link is closed";
        } else if (st != ReplyStatus::Accepted && exit_code != exit_link_failed)
            exit_code = static_cast<int>(st);
    }
    if (json_wanted) {
        doc.add_raw("lines", done.str()).add_or_null("error", error);
        std::cout << doc.str() << "\n";
    }
    return exit_code;
}

}  // namespace t27
