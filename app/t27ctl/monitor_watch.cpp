// `t27ctl monitor watch`: the Monitor tab's live poll without the window,
// printing a snapshot of every value and then each change as it is found.
#include <algorithm>
#include <iostream>
#include <unordered_map>

#include "analyser/decode_reply.h"
#include "analyser/dropout_hunt.h"
#include "analyser/poll_list.h"
#include "analyser/signal_log.h"
#include "app/t27ctl/interrupt.h"
#include "app/t27ctl/monitor.h"
#include "common/json_out.h"
#include "common/local_time.h"
#include "generator/name_match.h"
#include "protocol/command_table.h"
#include "protocol/request_text.h"

namespace t27 {

namespace {

// The Monitor tab's poll timer: one request per tick.
constexpr double poll_tick_s = 0.02;
// A unit that leaves this many requests in a row unanswered is gone.
constexpr int silent_requests_lost = 3;

struct WatchOptions {
    std::vector<int> views{view_system};
    bool json = false;
    double duration_s = -1;  // negative: until Ctrl-C
    bool hunt = false;
};

WatchOptions watch_options(const CtlArgs& args) {
    WatchOptions o;
    if (same_ignoring_case(args.view, "all"))
        o.views = {view_system, view_video_timing, view_audio_timing, view_packet, view_hdcp_scdc};
    else if (const std::optional<int> view = monitor_view_of(args.view))
        o.views = {*view};
    o.json = args.json;
    o.duration_s = args.duration_s.value_or(-1);
    o.hunt = args.hunt;
    return o;
}

class Watcher {
  public:
    Watcher(CliLink& cli, const WatchOptions& o, std::vector<std::string> patterns)
        : cli_(cli), o_(o), patterns_(std::move(patterns)) {}

    int run() {
        if (o_.hunt) return hunt();
        const std::int64_t start = cli_.pump().now_ms();
        const UnitIdentity& u = cli_.unit();
        std::vector<int> single_list;
        if (o_.views.size() == 1) single_list = build_poll_list(o_.views[0], u.task_mode, state_);
        while (!stopping(start)) {
            for (int view : o_.views) {
                // The tab builds a view's list once and cycles it; switching
                // views rebuilds it, with the flag resets that go with that.
                const std::vector<int> list =
                    o_.views.size() == 1 ? single_list : build_poll_list(view, u.task_mode, state_);
                const std::vector<SignalItem> items =
                    signal_items(view, u.task_mode, u.model_family, u.linked_model);
                for (int index : list) {
                    if (stopping(start)) break;
                    if (!poll(view, index, items)) return lost();
                    wait_seconds(cli_.pump(), poll_tick_s);
                }
            }
            if (!snapshot_shown_) print_snapshot();
            // A task mode without any list for these views polls nothing.
            if (all_empty()) wait_seconds(cli_.pump(), 0.2);
        }
        if (!snapshot_shown_) print_snapshot();
        return monitor_exit_ok;
    }

  private:
    bool stopping(std::int64_t start) {
        if (interrupt_requested()) return true;
        return o_.duration_s >= 0 &&
               static_cast<double>(cli_.pump().now_ms() - start) >= o_.duration_s * 1000.0;
    }

    bool all_empty() const {
        for (int view : o_.views)
            if (!poll_list_for(view, cli_.unit().task_mode).empty()) return false;
        return true;
    }

    // False when the link is lost.
    bool poll(int view, int index, const std::vector<SignalItem>& items) {
        const HuntAnswer a = ask(index);
        if (a.status == HuntAnswer::LinkLost) return false;
        if (a.status == HuntAnswer::Silent) return ++silent_ < silent_requests_lost;
        silent_ = 0;
        // As on the tab, a refused request changes nothing.
        if (a.status == HuntAnswer::Answered) show(view, index, a.reply, items, true);
        return true;
    }

    HuntAnswer ask(int index) {
        LinkState& link = cli_.link();
        link.quiet_transaction = true;
        cli_.engine().cmdtx_str(command_text(index) + "\r");
        link.quiet_transaction = false;
        const ReplyStatus st = link.cmdrx_status;
        HuntAnswer a;
        if (st == ReplyStatus::NotSent || !cli_.open_now()) return a;
        if (st == ReplyStatus::NoResponse) {
            a.status = HuntAnswer::Silent;
            return a;
        }
        a.status = st == ReplyStatus::Accepted ? HuntAnswer::Answered : HuntAnswer::Refused;
        if (a.status == HuntAnswer::Answered) {
            cli_.engine().cmdrx_param_get();
            a.reply = {link.cmdrx_param1, link.cmdrx_param2, link.cmdrx_param3};
        }
        return a;
    }

    // Decodes the reply as the view would show it; `log` passes it on to the
    // change detection.
    void show(int view, int index, const PollReply& reply, const std::vector<SignalItem>& items,
              bool log) {
        DecodeContext ctx;
        ctx.view = view;
        ctx.task_mode = cli_.unit().task_mode;
        ctx.patterns = patterns_;
        ctx.caption = [this](const std::string& control) {
            auto it = shown_.find(control);
            return it == shown_.end() ? std::string() : it->second;
        };
        const DisplayUpdates updates = decode_reply(index, reply, ctx, state_);
        for (const TextUpdate& t : updates.texts) shown_[t.control] = t.text;
        if (!log) return;
        const SignalWatch::Seen seen =
            watch_.observe(index, reply, items, updates, wall_clock_ms());
        if (snapshot_shown_) {
            for (const SignalChange& c : seen.first_seen) print(c, true);
            for (const SignalChange& c : seen.changes) print(c, false);
        }
    }

    int hunt() {
        const UnitIdentity& u = cli_.unit();
        if (u.task_mode != task_analyser) {
            std::cerr << "t27ctl monitor watch: --hunt needs the unit in analyser mode\n";
            return monitor_exit_usage;
        }
        const std::int64_t start = cli_.pump().now_ms();
        std::vector<std::vector<SignalItem>> items(analyser_view_count);
        for (int view : o_.views)
            items[static_cast<std::size_t>(view)] =
                signal_items(view, u.task_mode, u.model_family, u.linked_model);
        const DropoutHuntOptions plan = dropout_hunt_plan(o_.views, u.task_mode, state_);
        std::size_t rest_seen = 0;

        DropoutHuntIo io;
        io.ask = [this](int index) { return ask(index); };
        io.now_ms = wall_clock_ms;
        io.stopping = [&] { return stopping(start); };
        io.on_reply = [&](const HuntRequest& r, const PollReply& reply, bool in_dropout) {
            show(r.view, r.index, reply, items[static_cast<std::size_t>(r.view)], !in_dropout);
            // The snapshot once the rest of the view came round.
            const std::span<const int> signal = dropout_signal_items();
            const bool rest = std::find(signal.begin(), signal.end(), r.index) == signal.end();
            if (!snapshot_shown_ && rest && ++rest_seen >= plan.rest.size()) print_snapshot();
        };
        io.on_dropout = [this](const Dropout& d) { print(d); };
        const HuntSummary summary = run_dropout_hunt(plan, io);
        if (!snapshot_shown_) print_snapshot();
        print(summary);
        return summary.link_lost ? lost() : monitor_exit_ok;
    }

    void print(const Dropout& d) {
        const std::string start = local_time_text(d.start_ms), end = local_time_text(d.end_ms);
        if (o_.json) {
            json::Object line;
            line.add("dropout", true).add("start", start).add("end", end);
            std::cout << line.add("ms", d.ms()).add("lost", d.lost).str() << "\n";
        } else {
            std::cout << end << " dropout: " << start << " -> " << end << ", " << d.ms()
                      << " ms" << (d.lost ? "" : " (signal changed)") << "\n";
        }
        std::cout.flush();
    }

    void print(const HuntSummary& s) {
        if (o_.json) {
            json::Object line;
            line.add("summary", true).add("dropouts", s.dropouts).add("rounds", s.rounds);
            line.add("round_us", static_cast<std::int64_t>(s.mean_round_ms * 1000));
            if (s.open_since_ms)
                line.add("open_since", local_time_text(*s.open_since_ms));
            else
                line.add_null("open_since");
            std::cout << line.str() << "\n";
        } else {
            std::cout << s.dropouts << (s.dropouts == 1 ? " dropout" : " dropouts") << ", "
                      << s.rounds << " rounds of " << s.mean_round_ms << " ms";
            if (s.open_since_ms)
                std::cout << ", one still on since " << local_time_text(*s.open_since_ms);
            std::cout << "\n";
        }
        std::cout.flush();
    }

    void print(const SignalChange& c, bool first) {
        const std::string time = local_time_text(c.time_ms);
        if (o_.json) {
            json::Object line;
            line.add("time", time).add("item", c.item);
            if (first)
                line.add_null("old");
            else
                line.add("old", c.old_value);
            std::cout << line.add("new", c.new_value).str() << "\n";
        } else if (first) {
            std::cout << time << " " << c.item << ": " << terminal_text(c.new_value) << "\n";
        } else {
            std::cout << time << " " << c.item << ": " << terminal_text(c.old_value) << " -> "
                      << terminal_text(c.new_value) << "\n";
        }
        std::cout.flush();
    }

    void print_snapshot() {
        snapshot_shown_ = true;
        const std::int64_t now = wall_clock_ms();
        const UnitIdentity& u = cli_.unit();
        for (int view : o_.views) {
            for (const SignalItem& item :
                 signal_items(view, u.task_mode, u.model_family, u.linked_model)) {
                if (const std::string* v = watch_.value(item.name))
                    print({now, item.name, {}, *v}, true);
            }
        }
    }

    int lost() {
        if (!snapshot_shown_) print_snapshot();
        const std::string failure = std::string("lost the link to the unit (") +
                                    std::string(reply_status_name(cli_.link().cmdrx_status)) + ")";
        std::cerr << "t27ctl: " << failure << "\n";
        if (o_.json) std::cout << cli_.failure_json(failure) << "\n" << std::flush;
        return monitor_exit_lost;
    }

    CliLink& cli_;
    const WatchOptions& o_;
    std::vector<std::string> patterns_;
    AnalyserState state_;
    std::unordered_map<std::string, std::string> shown_;
    SignalWatch watch_;
    bool snapshot_shown_ = false;
    int silent_ = 0;
};

}  // namespace

int t27ctl_monitor_watch(const LinkOptions& options, const CtlArgs& args) {
    const WatchOptions wo = watch_options(args);

    CliLink cli(options);
    std::string why;
    if (const std::optional<int> failed = monitor_link_up(cli, &why)) {
        if (wo.json) std::cout << cli.failure_json(why) << "\n" << std::flush;
        return *failed;
    }

    catch_interrupts();
    Watcher w(cli, wo, monitor_patterns(cli));
    return w.run();
}

}  // namespace t27
