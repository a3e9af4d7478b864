// `t27ctl monitor check`: the source on the unit's input held against the EDID
// the unit presents to it (or a file), as one table or one JSON document; with
// --watch, every change of verdict as it happens.
#include <iostream>
#include <map>

#include "analyser/source_check.h"
#include "app/t27ctl_interrupt.h"
#include "app/t27ctl_monitor.h"
#include "common/json_out.h"
#include "common/local_time.h"
#include "protocol/unit_identity.h"

namespace t27 {

namespace {

const char* const check_usage =
    "usage: t27ctl LINK monitor check [--edid FILE] [--json] [--watch [--duration SECONDS]]\n"
    "holds what the source on the unit's input sends against the EDID the unit\n"
    "presents to it (its Rx EDID: the attached sink's, a default or a user slot),\n"
    "or against FILE (.hex, .bin, .ddc). One line a rule: PASS, FAIL or n.a., what\n"
    "the source sends, what the EDID declares and the clause the rule rests on.\n"
    "--json prints one document instead. --watch polls on and prints each change\n"
    "of verdict (\"TIME RULE: PASS -> FAIL source / EDID\"; with --json one object\n"
    "a line) until Ctrl-C or the end of --duration, against the EDID read at the\n"
    "start.\n"
    "Exit: 0 no rule failed, 1 a rule failed (with --watch: at any time), 2 the\n"
    "link was lost or could not be opened, 3 the EDID could not be read, 64 usage.\n";

constexpr int check_exit_failed = 1;
constexpr int check_exit_edid = 3;

struct CheckOptions {
    std::string edid_file;
    bool json = false;
    bool watch = false;
    double duration_s = -1;  // negative: until Ctrl-C
};

int usage(const std::string& why) {
    if (!why.empty()) std::cerr << "t27ctl monitor check: " << why << "\n";
    std::cerr << check_usage;
    return monitor_exit_usage;
}

std::string parse(const std::vector<std::string>& args, CheckOptions& o) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--json") {
            o.json = true;
        } else if (a == "--watch") {
            o.watch = true;
        } else if (a == "--edid" || a == "--duration") {
            if (i + 1 >= args.size()) return a + " needs a value";
            const std::string& v = args[++i];
            if (a == "--edid") {
                if (v.empty()) return "--edid needs a file";
                o.edid_file = v;
            } else if (const std::optional<double> s = seconds_of(v)) {
                o.duration_s = *s;
            } else {
                return "--duration needs seconds";
            }
        } else {
            return "unknown option '" + a + "'";
        }
    }
    if (o.duration_s >= 0 && !o.watch) return "--duration goes with --watch";
    return {};
}

class Checker {
  public:
    Checker(CliLink& cli, const CheckOptions& o, SourceCheckEdid edid)
        : cli_(cli), o_(o), edid_(std::move(edid)), caps_(sink_caps(*edid_.model)) {}

    int run() {
        const std::int64_t start = cli_.pump().now_ms();
        const std::vector<int> list = source_check_poll_list();
        bool failed_ever = false;
        bool shown = false;
        do {
            for (int index : list) {
                if (shown && stopping(start)) break;
                if (!poll(index)) return lost();
                wait_seconds(cli_.pump(), monitor_poll_tick_s);
            }
            const std::vector<SourceCheckRow> rows = source_check_run(signal_facts(signal_), caps_);
            failed_ever = failed_ever || source_check_failed(rows);
            if (!shown) {
                std::cout << (o_.json ? source_check_json(rows, edid_.origin) + "\n"
                                      : source_check_text(rows, edid_.origin));
                shown = true;
            } else {
                print_changes(rows);
            }
            std::cout.flush();
            last_ = rows;
        } while (o_.watch && !stopping(start));
        return failed_ever ? check_exit_failed : monitor_exit_ok;
    }

  private:
    bool stopping(std::int64_t start) { return monitor_stopping(cli_, start, o_.duration_s); }

    bool poll(int index) {
        std::optional<PollReply> reply;
        if (!monitor_poll(cli_, index, silent_, reply)) return false;
        if (reply) source_signal_take(signal_, index, *reply);
        return true;
    }

    void print_changes(const std::vector<SourceCheckRow>& rows) {
        for (std::size_t i = 0; i < rows.size() && i < last_.size(); ++i) {
            const RuleResult& was = last_[i].result;
            const RuleResult& now = rows[i].result;
            if (was.verdict == now.verdict) continue;
            const std::string time = local_time_text(wall_clock_ms());
            if (o_.json) {
                json::Object line;
                line.add("time", time)
                    .add("rule", rows[i].rule)
                    .add("old", verdict_text(was.verdict))
                    .add("new", verdict_text(now.verdict))
                    .add("source", now.source)
                    .add("edid", now.edid);
                std::cout << line.str() << "\n";
            } else {
                std::cout << time << " " << rows[i].rule << ": " << verdict_text(was.verdict)
                          << " -> " << verdict_text(now.verdict) << " " << now.source << " / "
                          << now.edid << "\n";
            }
        }
    }

    int lost() {
        std::cerr << "t27ctl: lost the link to the unit ("
                  << reply_status_name(cli_.link().cmdrx_status) << ")\n";
        return monitor_exit_lost;
    }

    CliLink& cli_;
    const CheckOptions& o_;
    SourceCheckEdid edid_;
    SinkCaps caps_;
    SourceSignal signal_;
    std::vector<SourceCheckRow> last_;
    int silent_ = 0;
};

}  // namespace

int t27ctl_monitor_check(const LinkOptions& options, const std::vector<std::string>& args) {
    if (monitor_help_asked(args)) {
        std::cout << check_usage;
        return monitor_exit_ok;
    }
    CheckOptions o;
    if (const std::string why = parse(args, o); !why.empty()) return usage(why);

    // A file that cannot be read is known before the unit is asked anything.
    SourceCheckEdid edid;
    if (!o.edid_file.empty()) {
        edid = source_check_edid_file(o.edid_file);
        if (!edid.model) {
            std::cerr << "t27ctl monitor check: " << edid.why << "\n";
            return check_exit_edid;
        }
    }

    CliLink cli(options);
    // Exit 1 is a failed rule here, and 3 an unreadable EDID: every link
    // problem is 2.
    if (monitor_link_up(cli)) return monitor_exit_lost;
    if (cli.unit().task_mode != task_analyser)
        std::cerr << "t27ctl monitor check: the unit is not in analyser mode; what it reports of "
                     "its input may be stale\n";
    if (o.edid_file.empty()) {
        edid = source_check_edid_unit(cli.engine());
        if (!edid.model) {
            if (!cli.open_now()) return monitor_exit_lost;
            std::cerr << "t27ctl monitor check: " << edid.why << "\n";
            return check_exit_edid;
        }
    }
    catch_interrupts();
    return Checker(cli, o, std::move(edid)).run();
}

}  // namespace t27
