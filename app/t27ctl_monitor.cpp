#include "app/t27ctl_monitor.h"

#include <array>
#include <iostream>
#include <string_view>

#include "app/t27ctl_interrupt.h"
#include "generator/name_match.h"
#include "protocol/command_table.h"

namespace t27 {

namespace {

constexpr std::array<std::string_view, 5> view_words = {"system", "video", "audio", "packet",
                                                        "hdcp"};

const char* const monitor_usage =
    "usage: t27ctl LINK monitor watch [--view system|video|audio|packet|hdcp|all] [--json]\n"
    "                                 [--duration SECONDS]\n"
    "       t27ctl LINK monitor check [--edid FILE] [--json] [--watch [--duration SECONDS]]\n";

}  // namespace

std::optional<int> monitor_link_up(CliLink& cli) {
    if (!cli.open()) return monitor_exit_link;
    cli.identify(false);
    if (cli.unit().model_family != not_known) return std::nullopt;
    const ReplyStatus st = cli.link().cmdrx_status;
    std::cerr << "t27ctl: the unit could not be identified (" << reply_status_name(st) << ")\n";
    if (st == ReplyStatus::NotSent || !cli.open_now()) return monitor_exit_link;
    return st == ReplyStatus::ErrorReply ? 3 : monitor_exit_lost;
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

std::vector<std::string> monitor_patterns(const CliLink& cli) {
    return cli.load_catalogue().catalogue.patterns;
}

std::optional<int> monitor_view_of(const std::string& word) {
    for (std::size_t i = 0; i < view_words.size(); ++i)
        if (same_ignoring_case(word, view_words[i])) return static_cast<int>(i);
    return std::nullopt;
}

bool monitor_help_asked(const std::vector<std::string>& args) {
    for (const std::string& a : args)
        if (a == "--help" || a == "-h") return true;
    return false;
}

int t27ctl_monitor(const LinkOptions& options, const std::vector<std::string>& args) {
    if (!args.empty() && args[0] == "watch")
        return t27ctl_monitor_watch(options,
                                    std::vector<std::string>(args.begin() + 1, args.end()));
    if (!args.empty() && args[0] == "check")
        return t27ctl_monitor_check(options,
                                    std::vector<std::string>(args.begin() + 1, args.end()));
    if (monitor_help_asked(args)) {
        std::cout << monitor_usage;
        return monitor_exit_ok;
    }
    std::cerr << "t27ctl monitor: watch or check?\n" << monitor_usage;
    return monitor_exit_usage;
}

}  // namespace t27
