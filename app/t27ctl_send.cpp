#include "app/t27ctl_send.h"

#include <cstdio>
#include <iostream>

#include "common/atomic_write.h"
#include "common/qt_text.h"
#include "protocol/command_table.h"

namespace t27 {

namespace {

constexpr int exit_link_failed = 1;

// The reply as the command monitor logs it, one indented line per logged line.
void print_log(const std::string& log) {
    std::string line;
    bool any = false;
    auto flush = [&] {
        std::cout << (any ? "        " : "  reply: ") << line << "\n";
        any = true;
        line.clear();
    };
    for (std::size_t i = 0; i < log.size(); ++i) {
        if (log[i] == '\r' && i + 1 < log.size() && log[i + 1] == '\n') {
            flush();
            ++i;
        } else {
            line += log[i];
        }
    }
    if (!line.empty() || !any) flush();
}

}  // namespace

int t27ctl_send(const LinkOptions& o, const QStringList& lines) {
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

    if (!cli.open()) return exit_link_failed;
    if (!o.no_link) cli.identify();

    int exit_code = 0;
    for (const QString& qline : lines) {
        const std::string line = from_qt(qline);
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
        std::cout << "> " << line << "\n"
                  << "  status: " << static_cast<int>(st) << " " << reply_status_name(st) << "\n"
                  << "  param1: " << link.cmdrx_param1 << "\n"
                  << "  param2: " << link.cmdrx_param2 << "\n"
                  << "  param3: " << link.cmdrx_param3 << "\n";
        print_log(link.monitor_log);
        std::cout.flush();
        if (st == ReplyStatus::NotSent)
            exit_code = exit_link_failed;
        else if (st != ReplyStatus::Accepted && exit_code != exit_link_failed)
            exit_code = static_cast<int>(st);
    }
    return exit_code;
}

}  // namespace t27
