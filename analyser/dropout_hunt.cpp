#include "analyser/dropout_hunt.h"

#include <algorithm>
#include <array>

#include "analyser/commands.h"
#include "analyser/poll_list.h"
#include "protocol/command_table.h"

namespace t27 {

namespace {

constexpr std::array<int, 4> signal_items = {cmd::sd_5v, cmd::sd_ckdt, cmd::sd_scdt,
                                             cmd::sd_timingx};
// The first three say whether there is a signal at all.
constexpr std::size_t presence_items = 3;
// Reads of one signal before a changed one counts as the new signal.
constexpr int settle_reads = 2 * static_cast<int>(signal_items.size());

int slot_of(int index) {
    const auto it = std::find(signal_items.begin(), signal_items.end(), index);
    return it == signal_items.end() ? -1 : static_cast<int>(it - signal_items.begin());
}

// "5v" of "$source_detect? 5v".
std::string_view item_of(int index) {
    const std::string& text = command_text(index);
    const std::size_t blank = text.rfind(' ');
    return blank == std::string::npos ? std::string_view() : std::string_view(text).substr(blank + 1);
}

}  // namespace

std::span<const int> dropout_signal_items() { return signal_items; }

bool DropoutDetector::present(const Signal& s) {
    for (std::size_t n = 0; n < presence_items; ++n)
        if (s[n] != "on") return false;
    return true;
}

std::optional<Dropout> DropoutDetector::read(int index, const PollReply& reply,
                                             std::int64_t time_ms) {
    const int slot = slot_of(index);
    if (slot < 0) return std::nullopt;
    // Every signal item is "$source_detect?", so a late reply to the item
    // before passes the command-word check: it names its item, though, and
    // taken for this one it would end a dropout in the middle.
    if (reply.p1 != item_of(index)) return std::nullopt;
    if (now_.empty()) now_.assign(signal_items.size(), {});
    now_[static_cast<std::size_t>(slot)] = reply.p2;
    // Until every item was read once there is nothing to compare with.
    if (!good_) {
        if (std::none_of(now_.begin(), now_.end(), [](const std::string& v) { return v.empty(); }))
            good_ = now_;
        return std::nullopt;
    }
    if (!start_ms_) {
        if (now_ == *good_) return std::nullopt;
        start_ms_ = time_ms;
        lost_ = !present(now_);
        other_.reset();
        back_since_ms_.reset();
    }
    // The end is the first read that saw an item back with none gone again
    // since, as the start is the first read that saw one go: the last item to
    // be read back only confirms it.
    const std::size_t at = static_cast<std::size_t>(slot);
    if (now_[at] != (*good_)[at])
        back_since_ms_.reset();
    else if (!back_since_ms_)
        back_since_ms_ = time_ms;
    if (now_ == *good_) {
        const Dropout d{*start_ms_, back_since_ms_.value_or(time_ms), lost_};
        start_ms_.reset();
        return d;
    }
    if (!present(now_)) {
        lost_ = true;
        other_.reset();
        return std::nullopt;
    }
    if (!other_ || *other_ != now_) {
        other_ = now_;
        other_since_ms_ = time_ms;
        other_reads_ = 0;
    }
    if (++other_reads_ < settle_reads || time_ms - other_since_ms_ < dropout_settle_ms)
        return std::nullopt;
    // The source came back as another signal, which is now the one hunted for.
    good_ = now_;
    other_.reset();
    const Dropout d{*start_ms_, other_since_ms_, lost_};
    start_ms_.reset();
    if (!d.lost) return std::nullopt;
    return d;
}

DropoutHuntOptions dropout_hunt_plan(const std::vector<int>& views, int task_mode,
                                     AnalyserState& state) {
    DropoutHuntOptions o;
    if (!views.empty()) o.signal_view = views.front();
    for (int view : views)
        for (int index : build_poll_list(view, task_mode, state))
            if (slot_of(index) < 0) o.rest.push_back({view, index});
    return o;
}

std::vector<int> dropout_hunt_poll_list(const DropoutHuntOptions& plan) {
    std::vector<int> list;
    for (const HuntRequest& r : plan.rest) {
        list.insert(list.end(), signal_items.begin(), signal_items.end());
        list.push_back(r.index);
    }
    if (list.empty()) list.assign(signal_items.begin(), signal_items.end());
    return list;
}

HuntSummary run_dropout_hunt(const DropoutHuntOptions& options, const DropoutHuntIo& io) {
    HuntSummary summary;
    DropoutDetector detector;
    int silent = 0;
    std::size_t rest_at = 0;
    int rounds_since_rest = 0;
    const std::int64_t first = io.now_ms();

    // False when the link is lost.
    auto ask = [&](const HuntRequest& r) {
        const std::int64_t sent = io.now_ms();
        const HuntAnswer a = io.ask(r.index);
        if (a.status == HuntAnswer::LinkLost) return false;
        if (a.status == HuntAnswer::Silent) return ++silent < hunt_silent_requests_lost;
        silent = 0;
        if (a.status != HuntAnswer::Answered) return true;
        // The unit looked at its input somewhere between the request and the
        // reply; over a serial line the reply alone takes milliseconds.
        const std::int64_t t = sent + (io.now_ms() - sent) / 2;
        const std::optional<Dropout> ended = detector.read(r.index, a.reply, t);
        if (io.on_reply) io.on_reply(r, a.reply, detector.in_dropout());
        if (ended) {
            ++summary.dropouts;
            if (io.on_dropout) io.on_dropout(*ended);
        }
        return true;
    };

    while (!io.stopping()) {
        for (int index : signal_items) {
            if (!ask({options.signal_view, index})) {
                summary.link_lost = true;
                break;
            }
        }
        if (summary.link_lost) break;
        ++summary.rounds;
        if (options.rest.empty() || options.rounds_per_rest_request <= 0) continue;
        if (++rounds_since_rest < options.rounds_per_rest_request) continue;
        rounds_since_rest = 0;
        if (!ask(options.rest[rest_at])) {
            summary.link_lost = true;
            break;
        }
        rest_at = (rest_at + 1) % options.rest.size();
    }
    if (summary.rounds > 0)
        summary.mean_round_ms =
            static_cast<double>(io.now_ms() - first) / static_cast<double>(summary.rounds);
    summary.open_since_ms = detector.dropout_start();
    return summary;
}

}  // namespace t27
