// `t27ctl monitor watch`: the Monitor tab's live poll without the window,
// printing a snapshot of every value and then each change as it is found.
#include <iostream>
#include <unordered_map>

#include "analyser/decode_reply.h"
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
};

WatchOptions watch_options(const CtlArgs& args) {
    WatchOptions o;
    if (same_ignoring_case(args.view, "all"))
        o.views = {view_system, view_video_timing, view_audio_timing, view_packet, view_hdcp_scdc};
    else if (const std::optional<int> view = monitor_view_of(args.view))
        o.views = {*view};
    o.json = args.json;
    o.duration_s = args.duration_s.value_or(-1);
    return o;
}

class Watcher {
  public:
    Watcher(CliLink& cli, const WatchOptions& o, std::vector<std::string> patterns)
        : cli_(cli), o_(o), patterns_(std::move(patterns)) {}

    int run() {
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
        LinkState& link = cli_.link();
        link.quiet_transaction = true;
        cli_.engine().cmdtx_str(command_text(index) + "\r");
        link.quiet_transaction = false;
        const ReplyStatus st = link.cmdrx_status;
        if (st == ReplyStatus::NotSent || !cli_.open_now()) return false;
        if (st == ReplyStatus::NoResponse) return ++silent_ < silent_requests_lost;
        silent_ = 0;
        // As on the tab, a refused request changes nothing.
        if (st != ReplyStatus::Accepted) return true;
        cli_.engine().cmdrx_param_get();
        const PollReply reply{link.cmdrx_param1, link.cmdrx_param2, link.cmdrx_param3};
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
        const SignalWatch::Seen seen = watch_.observe(items, updates, wall_clock_ms());
        if (snapshot_shown_) {
            for (const SignalChange& c : seen.first_seen) print(c, true);
            for (const SignalChange& c : seen.changes) print(c, false);
        }
        return true;
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
