#pragma once
// `t27ctl monitor-report` and `t27ctl monitor watch`: the Monitor tab's report
// and its live poll, from a script.
#include <optional>
#include <string>
#include <vector>

#include "analyser/decode_reply.h"
#include "app/t27ctl/command_line.h"
#include "app/t27ctl/link.h"

namespace t27 {

int t27ctl_monitor_report(const LinkOptions& options, const CtlArgs& args);
int t27ctl_monitor_watch(const LinkOptions& options, const CtlArgs& args);
int t27ctl_monitor_check(const LinkOptions& options, const CtlArgs& args);

// ---- shared by the two commands ----

inline constexpr int monitor_exit_ok = 0;
inline constexpr int monitor_exit_link = 1;
inline constexpr int monitor_exit_lost = 2;
inline constexpr int monitor_exit_usage = 64;

// Opens the link and identifies the unit without printing on stdout (which
// carries only the report or the watch lines). Nothing when linked, else the
// exit code: 1 when the link could not be opened, the status of the reply
// that failed otherwise; `why`, when given, receives the failure.
std::optional<int> monitor_link_up(CliLink& cli, std::string* why = nullptr);

// The pattern names of the catalogue the link chose, for "$pattern?".
std::vector<std::string> monitor_patterns(const CliLink& cli);

// The Monitor tab's poll timer, as the live commands run it: one request a
// tick, and a unit that leaves this many requests in a row unanswered is gone.
inline constexpr double monitor_poll_tick_s = 0.02;
inline constexpr int monitor_silent_requests_lost = 3;

// Sends the poll request `index`. False when the link is lost; `silent`
// counts the unanswered requests in a row. When the reply was accepted,
// `reply` holds its parameters; a refused request changes nothing, as on
// the tab.
bool monitor_poll(CliLink& cli, int index, int& silent, std::optional<PollReply>& reply);

// Ctrl-C, or `duration_s` (negative: none) gone since `start_ms`.
bool monitor_stopping(CliLink& cli, std::int64_t start_ms, double duration_s);

// "system", "video", "audio", "packet", "hdcp" in any case: the view number;
// nothing for another word.
std::optional<int> monitor_view_of(const std::string& word);

}  // namespace t27
