// `t27ctl monitor watch`: the Monitor tab's live poll without the window,
// printing a snapshot of every value and then each change as it is found.
#include <iostream>
#include <unordered_map>

#include "analyser/decode_reply.h"
#include "analyser/poll_list.h"
#include "analyser/signal_log.h"
#include "app/t27ctl_interrupt.h"
#include "app/t27ctl_monitor.h"
#include "common/json_out.h"
#include "common/local_time.h"
#include "protocol/command_table.h"

namespace t27 {

namespace {

const char* const watch_usage =
    "usage: t27ctl LINK monitor watch [--view system|video|audio|packet|hdcp|all] [--json]\n"
    "                                 [--duration SECONDS]\n"
    "polls as the Monitor tab does (default the System view; all: the five views in\n"
    "turn), prints a snapshot of every value once each list has been polled, then\n"
    "one line per value that changed:\n"
    "  2026-12-07T10:00:00.123 Source Resolution: 1920x1080p60 -> 3840x2160p60\n"
    "(local time; snapshot lines are \"TIME ITEM: VALUE\"). Items are named by the\n"
    "captions the window shows. --json prints one object a line instead:\n"
    "  {\"time\": \"...\", \"item\": \"...\", \"old\": \"...\", \"new\": \"...\"}\n"
    "with \"old\": null for the snapshot and for an item seen for the first time.\n"
    "Ctrl-C or the end of --duration ends it: exit 0. A lost link: what was seen\n"
    "is printed, a message goes to stderr, exit 2. 1 the link could not be\n"
    "opened, 64 usage error.\n";

struct WatchOptions {
    std::vector<int> views{view_system};
    bool json = false;
    double duration_s = -1;  // negative: until Ctrl-C
};

int usage(const std::string& why) {
    if (!why.empty()) std::cerr << "t27ctl monitor watch: " << why << "\n";
    std::cerr << watch_usage;
    return monitor_exit_usage;
}

std::string parse(const std::vector<std::string>& args, WatchOptions& o) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--json") {
            o.json = true;
            continue;
        }
        if (a != "--view" && a != "--duration") return "unknown option '" + a + "'";
        if (i + 1 >= args.size()) return a + " needs a value";
        const std::string& v = args[++i];
        if (a == "--view") {
            if (v == "all") {
                o.views = {view_system, view_video_timing, view_audio_timing, view_packet,
                           view_hdcp_scdc};
            } else if (const std::optional<int> view = monitor_view_of(v)) {
                o.views = {*view};
            } else {
                return "--view is system, video, audio, packet, hdcp or all";
            }
            continue;
        }
        const std::optional<double> s = seconds_of(v);
        if (!s) return "--duration needs seconds";
        o.duration_s = *s;
    }
    return {};
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
                    wait_seconds(cli_.pump(), monitor_poll_tick_s);
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
    bool stopping(std::int64_t start) { return monitor_stopping(cli_, start, o_.duration_s); }

    bool all_empty() const {
        for (int view : o_.views)
            if (!poll_list_for(view, cli_.unit().task_mode).empty()) return false;
        return true;
    }

    // False when the link is lost.
    bool poll(int view, int index, const std::vector<SignalItem>& items) {
        std::optional<PollReply> accepted;
        if (!monitor_poll(cli_, index, silent_, accepted)) return false;
        if (!accepted) return true;
        const PollReply& reply = *accepted;
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
            std::cout << time << " " << c.item << ": " << c.new_value << "\n";
        } else {
            std::cout << time << " " << c.item << ": " << c.old_value << " -> " << c.new_value
                      << "\n";
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
        std::cerr << "t27ctl: lost the link to the unit ("
                  << reply_status_name(cli_.link().cmdrx_status) << ")\n";
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

int t27ctl_monitor_watch(const LinkOptions& options, const std::vector<std::string>& args) {
    if (monitor_help_asked(args)) {
        std::cout << watch_usage;
        return monitor_exit_ok;
    }
    WatchOptions wo;
    if (const std::string why = parse(args, wo); !why.empty()) return usage(why);

    CliLink cli(options);
    if (const std::optional<int> failed = monitor_link_up(cli)) return *failed;

    catch_interrupts();
    Watcher w(cli, wo, monitor_patterns(cli));
    return w.run();
}

}  // namespace t27
