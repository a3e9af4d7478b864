#include "app/t27ctl/cable.h"

#include <array>
#include <iomanip>
#include <iostream>
#include <optional>
#include <sstream>

#include "app/t27ctl/interrupt.h"
#include "cable/cable_commands.h"
#include "cable/cable_progress.h"
#include "cable/cable_text.h"
#include "cable/cable_times.h"
#include "common/console.h"
#include "common/json_out.h"
#include "protocol/command_table.h"
#include "protocol/link_sequence.h"
#include "protocol/request_text.h"

namespace t27 {

namespace {

constexpr int exit_ok = 0;
constexpr int exit_link_failed = 1;
constexpr double poll_pause_s = 0.2;

struct RunOptions {
    int time_entry = 0;
    bool strict = false;
    std::optional<long long> stop_after_s;
    bool json = false;
};

// What a run found, for the --json document (text mode prints as it goes).
struct RunFacts {
    std::optional<std::string> task_was;
    std::optional<std::int64_t> elapsed_s;
    std::optional<std::string> result;
    std::string error;
};

std::string trimmed(const char* text) {
    std::string s = text;
    s.erase(0, s.find_first_not_of(' '));
    return s;
}

// "D:HH:MM:SS" of a number of seconds.
std::string clock_text(long long elapsed) {
    std::ostringstream os;
    os << elapsed / 86400 << ":" << std::setfill('0') << std::setw(2) << elapsed / 3600 % 24 << ":"
       << std::setw(2) << elapsed / 60 % 60 << ":" << std::setw(2) << elapsed % 60;
    return os.str();
}

constexpr std::array<int, 4> clock_queries = {cmd_timer_day_query, cmd_timer_hour_query,
                                              cmd_timer_minute_query, cmd_timer_second_query};

// One request; the outcome for the caller is the exit code it would end
// with, or nothing when the unit accepted it.
class Session {
  public:
    Session(CliLink& cli, RunFacts& facts) : cli_(cli), facts_(facts) {}

    std::optional<int> ask(const std::string& request) {
        cli_.engine().cmdtx_str(request);
        return judge(request);
    }
    // The outcome of `request`, just sent.
    std::optional<int> judge(const std::string& request) {
        const ReplyStatus st = cli_.link().cmdrx_status;
        if (st == ReplyStatus::Accepted) return std::nullopt;
        const std::string shown = request.substr(0, request.size() - 1);
        if (st == ReplyStatus::ErrorReply) {
            return fail("the unit refused \"" + shown + "\": " + cli_.link().cmdrx_param1,
                        cable_exit_refused);
        }
        return fail("lost the link to the unit (\"" + shown + "\" " +
                        std::string(reply_status_name(st)) + ")",
                    cable_exit_lost);
    }
    int fail(const std::string& why, int exit_code) {
        std::cerr << "t27ctl: " << terminal_text(why) << "\n";  // may hold the unit's words
        facts_.error = why;
        return exit_code;
    }
    const std::string& p1() const { return cli_.link().cmdrx_param1; }

    // The four clock fields, read until two passes agree, so a field that
    // rolls over between two reads is not mixed with the others.
    std::optional<int> read_clock(std::array<std::string, 4>& out, bool& consistent) {
        std::array<std::string, 4> last;
        consistent = false;
        for (int pass = 0; pass < 4 && !consistent; ++pass) {
            std::array<std::string, 4> now;
            for (std::size_t i = 0; i < now.size(); ++i) {
                if (auto e = ask(command_text(clock_queries[i]) + "\r")) return e;
                now[i] = p1();
            }
            consistent = pass > 0 && now == last;
            last = now;
        }
        out = last;
        return std::nullopt;
    }

  private:
    CliLink& cli_;
    RunFacts& facts_;
};

int verdict_exit(const std::string& result) {
    if (result == "PASS") return exit_ok;
    if (result == "FAIL") return cable_exit_fail;
    return cable_exit_no_verdict;
}

std::optional<int> ensure_cable_mode(CliLink& cli, Session& s, RunFacts& facts, bool json) {
    if (cli.unit().task_mode == task_cable) return std::nullopt;
    const int was = cli.unit().task_mode;
    const std::string cable = task_mode_text(task_cable);
    task_mode_set(cli.engine(), cable);
    if (auto e = s.judge("$task_mode " + cable + "\r")) return e;
    if (cli.unit().task_mode != task_cable)
        return s.fail("the unit stayed in task mode " + s.p1(), cable_exit_refused);
    facts.task_was = was == not_known ? "unknown" : task_mode_text(was);
    if (!json) std::cout << "task: cable (was " << *facts.task_was << ")\n";
    return std::nullopt;
}

int print_result(Session& s, RunFacts& facts, bool json) {
    if (auto e = s.ask(command_text(cmd_cable_result_query) + "\r")) return *e;
    facts.result = upper_text(s.p1());
    if (!json) {
        std::cout << "result: " << terminal_text(*facts.result) << "\n";
        std::cout.flush();
    }
    return verdict_exit(*facts.result);
}

void print_json(CliLink& cli, const RunOptions& ro, const RunFacts& facts) {
    json::Object j;
    j.add_raw("link", cli.link_json());
    j.add_or_null("task_was", facts.task_was);
    j.add("time", trimmed(cable_time_at(ro.time_entry)->text));
    j.add("level", ro.strict ? "STRICT" : "NORMAL");
    j.add_or_null("elapsed_s", facts.elapsed_s);
    j.add_or_null("result", facts.result);
    j.add_or_null("error",
                  facts.error.empty() ? std::nullopt : std::optional<std::string>(facts.error));
    std::cout << j.str() << "\n";
    std::cout.flush();
}

int run(CliLink& cli, const RunOptions& ro, RunFacts& facts) {
    Session s(cli, facts);
    if (auto e = ensure_cable_mode(cli, s, facts, ro.json)) return *e;
    if (auto e = s.ask(command_text(cmd_cable_level) + (ro.strict ? "strict" : "normal") + "\r"))
        return *e;
    if (auto e = s.ask(cable_time_request(ro.time_entry))) return *e;
    if (auto e = s.ask(cable_run_request(true))) return *e;
    const std::optional<int> duration = cable_duration_s(ro.time_entry);
    if (!ro.json) {
        std::cout << "started: " << trimmed(cable_time_at(ro.time_entry)->text) << ", level "
                  << (ro.strict ? "STRICT" : "NORMAL") << "\n";
        std::cout.flush();
    }
    // With --json stdout carries only the document, so progress can show on
    // a terminal only.
    std::ostream* progress = !ro.json ? &std::cout : stderr_is_terminal() ? &std::cerr : nullptr;

    std::string shown;
    bool stop_sent = false;
    for (;;) {
        if (auto e = s.ask(command_text(cmd_cable_run_query) + "\r")) return *e;
        const bool running = s.p1() == "start";
        std::array<std::string, 4> clock;
        bool consistent = false;
        if (auto e = s.read_clock(clock, consistent)) return *e;
        const std::optional<long long> elapsed = cable_elapsed_s(clock);
        if (consistent && elapsed) {
            facts.elapsed_s = *elapsed;
            std::string line = clock_text(*elapsed);
            if (duration)
                line += " " + std::to_string(cable_progress_value(*elapsed, *duration, 100)) + "%";
            if (line != shown && progress) {
                *progress << "progress: " << line << "\n";
                progress->flush();
            }
            shown = line;
        }
        if (!running) break;
        const bool time_up = ro.stop_after_s && elapsed && *elapsed >= *ro.stop_after_s;
        if ((interrupt_requested() || time_up) && !stop_sent) {
            if (auto e = s.ask(cable_run_request(false))) return *e;
            stop_sent = true;
            continue;  // read the final clock once more
        }
        wait_seconds(cli.pump(), poll_pause_s);
    }
    return print_result(s, facts, ro.json);
}

int stop(CliLink& cli) {
    RunFacts facts;
    Session s(cli, facts);
    if (auto e = s.ask(cable_run_request(false))) return *e;
    std::cout << "stopped\n";
    return print_result(s, facts, false);
}

}  // namespace

int t27ctl_cable(const LinkOptions& options, const CtlArgs& args) {
    const bool stopping = args.command == CtlCommand::cable_stop;
    RunOptions ro;
    if (!stopping) {
        ro.time_entry = cable_time_entry_of(args.cable_time).value_or(0);
        ro.strict = args.cable_strict;
        ro.stop_after_s = args.stop_after_s;
        ro.json = args.json;
    }

    CliLink cli(options);
    RunFacts facts;
    if (!cli.open()) {
        facts.error = cli.open_failure();
        if (ro.json) print_json(cli, ro, facts);
        return exit_link_failed;
    }
    // Requests other than identification need a linked unit.
    cli.identify(!ro.json);
    int rc = exit_ok;
    if (cli.unit().model_family == not_known) {
        facts.error = std::string("the unit could not be identified (") +
                      std::string(reply_status_name(cli.link().cmdrx_status)) + ")";
        std::cerr << "t27ctl: " << facts.error << "\n";
        rc = cable_exit_lost;
    } else if (stopping) {
        return stop(cli);
    } else {
        catch_interrupts();
        rc = run(cli, ro, facts);
    }
    if (ro.json) print_json(cli, ro, facts);
    return rc;
}

}  // namespace t27
