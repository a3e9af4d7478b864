// `t27ctl monitor check`: the source on the unit's input held against the EDID
// the unit presents to it (or a file), as one table or one JSON document; with
// --watch, every change of verdict as it happens.
#include <iostream>
#include <map>

#include "analyser/source_check.h"
#include "app/t27ctl/interrupt.h"
#include "app/t27ctl/monitor.h"
#include "common/json_out.h"
#include "common/local_time.h"
#include "protocol/unit_identity.h"

namespace t27 {

namespace {

constexpr int check_exit_failed = 1;
constexpr int check_exit_edid = 3;

struct CheckOptions {
    std::string edid_file;
    bool json = false;
    bool watch = false;
    double duration_s = -1;  // negative: until Ctrl-C
};

CheckOptions check_options(const CtlArgs& args) {
    CheckOptions o;
    o.edid_file = args.edid_file;
    o.json = args.json;
    o.watch = args.watch;
    o.duration_s = args.duration_s.value_or(-1);
    return o;
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

int t27ctl_monitor_check(const LinkOptions& options, const CtlArgs& args) {
    const CheckOptions o = check_options(args);

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
