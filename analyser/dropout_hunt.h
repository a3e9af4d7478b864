#pragma once
// Hunting dropouts: the few items that say whether a signal is there and what
// it is, polled back to back as fast as the unit answers, with the rest of
// the view coming round between them at a much lower rate. Needs no window
// and no event loop of its own: the caller sends the requests.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analyser/decode_reply.h"

namespace t27 {

// 5 V, clock, sync and the resolution: what a lost or changed signal changes
// first, in the order they are polled.
std::span<const int> dropout_signal_items();

struct Dropout {
    // The first read that saw the signal gone and the first that saw it back,
    // each timed halfway between its request and its reply.
    std::int64_t start_ms = 0;
    std::int64_t end_ms = 0;
    bool lost = false;          // 5 V, clock or sync went off (else it only changed)
    std::int64_t ms() const { return end_ms - start_ms; }
    bool operator==(const Dropout&) const = default;
};

// From the signal items' replies to dropouts. The signal as first read is the
// one hunted for; a read where it differs starts a dropout, and the first
// read where it is back ends it. A signal that comes back as another one and
// stays for dropout_settle_ms is the new signal: the time it was gone counts
// as a dropout when it was lost on the way, else it was a plain switch.
class DropoutDetector {
  public:
    // Returns the dropout this read ended.
    std::optional<Dropout> read(int index, const PollReply& reply, std::int64_t time_ms);
    bool in_dropout() const { return start_ms_.has_value(); }
    std::optional<std::int64_t> dropout_start() const { return start_ms_; }

  private:
    using Signal = std::vector<std::string>;
    static bool present(const Signal& s);

    Signal now_;                 // the latest reply of each signal item
    std::optional<Signal> good_;  // the signal hunted for
    std::optional<std::int64_t> start_ms_;
    std::optional<std::int64_t> back_since_ms_;
    bool lost_ = false;
    // Another signal that came back: since when and for how many reads.
    std::optional<Signal> other_;
    std::int64_t other_since_ms_ = 0;
    int other_reads_ = 0;
};

inline constexpr std::int64_t dropout_settle_ms = 1000;

// One request of the hunt and the view it belongs to.
struct HuntRequest {
    int view = 0;
    int index = 0;
};

struct DropoutHuntOptions {
    int signal_view = 0;               // the view the signal items are decoded for
    std::vector<HuntRequest> rest;     // the rest of the view(s), in poll order
    int rounds_per_rest_request = 1;   // signal rounds between two of those
};

struct HuntAnswer {
    enum Status { Answered, Refused, Silent, LinkLost } status = LinkLost;
    PollReply reply;
};

struct DropoutHuntIo {
    std::function<HuntAnswer(int index)> ask;
    std::function<std::int64_t()> now_ms;  // the wall clock
    std::function<bool()> stopping;
    // Every answered request, and whether a dropout is on at that moment (a
    // value read inside one belongs to no signal worth logging).
    std::function<void(const HuntRequest& r, const PollReply& reply, bool in_dropout)> on_reply;
    std::function<void(const Dropout&)> on_dropout;
};

struct HuntSummary {
    bool link_lost = false;
    std::int64_t dropouts = 0;
    std::int64_t rounds = 0;          // rounds of the signal items
    double mean_round_ms = 0;         // the hunt's period
    std::optional<std::int64_t> open_since_ms;  // a dropout still on at the end
};

// The plan for hunting on `views`: the signal items decoded for the first
// view, the rest of every view's list (built as the tab builds it, with its
// flag resets) after them, one request after each round.
DropoutHuntOptions dropout_hunt_plan(const std::vector<int>& views, int task_mode,
                                     AnalyserState& state);

// The same plan as one list for a poll timer that sends one request a tick:
// the signal items before each request of the rest.
std::vector<int> dropout_hunt_poll_list(const DropoutHuntOptions& plan);

// A unit that leaves this many requests in a row unanswered is gone.
inline constexpr int hunt_silent_requests_lost = 3;

HuntSummary run_dropout_hunt(const DropoutHuntOptions& options, const DropoutHuntIo& io);

}  // namespace t27
