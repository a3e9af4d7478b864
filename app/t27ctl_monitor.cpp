#include "app/t27ctl_monitor.h"

#include <array>
#include <iostream>
#include <string_view>

#include "common/qt_text.h"
#include "generator/catalogue_load.h"
#include "generator/program_dir.h"
#include "protocol/link_sequence.h"

namespace t27 {

namespace {

constexpr std::array<std::string_view, 5> view_words = {"system", "video", "audio", "packet",
                                                        "hdcp"};

const char* const monitor_usage =
    "usage: t27ctl LINK monitor watch [--view system|video|audio|packet|hdcp|all] [--json]\n"
    "                                 [--duration SECONDS]\n";

}  // namespace

std::optional<int> monitor_link_up(CliLink& cli) {
    if (!cli.open()) return monitor_exit_link;
    link_sequence(cli.engine(), cli.view());
    if (cli.unit().model_family != not_known) return std::nullopt;
    const ReplyStatus st = cli.link().cmdrx_status;
    std::cerr << "t27ctl: the unit could not be identified (" << reply_status_name(st) << ")\n";
    if (st == ReplyStatus::NotSent || !cli.open_now()) return monitor_exit_link;
    return st == ReplyStatus::ErrorReply ? 3 : monitor_exit_lost;
}

std::vector<std::string> monitor_patterns(const LinkOptions& options, CliLink& cli) {
    const std::string& file = cli.view().catalogue;
    return catalogue_load(catalogue_dir(options.places, file), file).catalogue.patterns;
}

std::optional<int> monitor_view_of(const std::string& word) {
    std::string lower = word;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    for (std::size_t i = 0; i < view_words.size(); ++i)
        if (lower == view_words[i]) return static_cast<int>(i);
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
    if (!args.empty() && args[0] == "--help") {
        std::cout << monitor_usage;
        return monitor_exit_ok;
    }
    std::cerr << "t27ctl monitor: watch?\n" << monitor_usage;
    return monitor_exit_usage;
}

}  // namespace t27
