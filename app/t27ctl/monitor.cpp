#include "app/t27ctl/monitor.h"

#include <array>
#include <iostream>
#include <string_view>

#include "app/t27ctl/interrupt.h"
#include "generator/name_match.h"
#include "protocol/command_table.h"

namespace t27 {

namespace {

constexpr std::array<std::string_view, 5> view_words = {"system", "video", "audio", "packet",
                                                        "hdcp"};

}  // namespace

std::optional<int> monitor_link_up(CliLink& cli, std::string* why) {
    if (!cli.open()) {
        if (why) *why = cli.open_failure();
        return monitor_exit_link;
    }
    cli.identify(false);
    if (cli.unit().model_family != not_known) return std::nullopt;
    const ReplyStatus st = cli.link().cmdrx_status;
    const std::string failure = std::string("the unit could not be identified (") +
                                std::string(reply_status_name(st)) + ")";
    std::cerr << "t27ctl: " << failure << "\n";
    if (why) *why = failure;
    if (st == ReplyStatus::NotSent || !cli.open_now()) return monitor_exit_link;
    return st == ReplyStatus::ErrorReply ? 3 : monitor_exit_lost;
}

std::vector<std::string> monitor_patterns(const CliLink& cli) {
    return cli.load_catalogue().catalogue.patterns;
}

std::optional<int> monitor_view_of(const std::string& word) {
    for (std::size_t i = 0; i < view_words.size(); ++i)
        if (same_ignoring_case(word, view_words[i])) return static_cast<int>(i);
    return std::nullopt;
}

bool monitor_poll(CliLink& cli, int index, int& silent, std::optional<PollReply>& reply) {
    reply.reset();
    LinkState& link = cli.link();
    link.quiet_transaction = true;
    cli.engine().cmdtx_str(command_text(index) + "\r");
    link.quiet_transaction = false;
    const ReplyStatus st = link.cmdrx_status;
    if (st == ReplyStatus::NotSent || !cli.open_now()) return false;
    if (st == ReplyStatus::NoResponse) return ++silent < monitor_silent_requests_lost;
    silent = 0;
    if (st != ReplyStatus::Accepted) return true;
    cli.engine().cmdrx_param_get();
    reply = PollReply{link.cmdrx_param1, link.cmdrx_param2, link.cmdrx_param3};
    return true;
}

bool monitor_stopping(CliLink& cli, std::int64_t start_ms, double duration_s) {
    if (interrupt_requested()) return true;
    return duration_s >= 0 &&
           static_cast<double>(cli.pump().now_ms() - start_ms) >= duration_s * 1000.0;
}

}  // namespace t27
