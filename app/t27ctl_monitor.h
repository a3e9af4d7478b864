#pragma once
// `t27ctl monitor-report` and `t27ctl monitor watch`: the Monitor tab's report
// and its live poll, from a script.
#include <optional>
#include <string>
#include <vector>

#include "app/t27ctl_link.h"

namespace t27 {

// `args` are the words after "monitor-report".
int t27ctl_monitor_report(const LinkOptions& options, const std::vector<std::string>& args);
// `args` are the words after "monitor": "watch" and its options.
int t27ctl_monitor(const LinkOptions& options, const std::vector<std::string>& args);
// `args` are the words after "monitor watch".
int t27ctl_monitor_watch(const LinkOptions& options, const std::vector<std::string>& args);
// `args` are the words after "monitor check".
int t27ctl_monitor_check(const LinkOptions& options, const std::vector<std::string>& args);

// Whether the words after the command only ask for its help (no link needed).
bool monitor_help_asked(const std::vector<std::string>& args);

// ---- shared by the two commands ----

inline constexpr int monitor_exit_ok = 0;
inline constexpr int monitor_exit_link = 1;
inline constexpr int monitor_exit_lost = 2;
inline constexpr int monitor_exit_usage = 64;

// Opens the link and identifies the unit without printing on stdout (which
// carries only the report or the watch lines). Nothing when linked, else the
// exit code: 1 when the link could not be opened, the status of the reply
// that failed otherwise.
std::optional<int> monitor_link_up(CliLink& cli);

// The pattern names of the catalogue the link chose, for "$pattern?".
std::vector<std::string> monitor_patterns(const CliLink& cli);

// "system", "video", "audio", "packet", "hdcp" in any case: the view number;
// nothing for another word.
std::optional<int> monitor_view_of(const std::string& word);

}  // namespace t27
