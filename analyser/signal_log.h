#pragma once
// The signal log: which analyser values changed, from what to what and when.
// Fed with the display updates of each poll reply; needs no window, so the
// Monitor tab and `t27ctl monitor watch` detect changes with the same code.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "analyser/decode_reply.h"
#include "analyser/display_update.h"
#include "analyser/signal_items.h"

namespace t27 {

struct SignalChange {
    std::int64_t time_ms = 0;  // milliseconds since the epoch
    std::string item;
    std::string old_value;
    std::string new_value;
    bool operator==(const SignalChange&) const = default;
};

// The last value of every item seen so far. A value seen for the first time
// is the item's baseline, not a change: the first poll after start (or after
// switching to a view not polled before) fills the baseline.
//
// A value worked out from several replies (a frequency from the clock and
// the totals, an audio item gated by "asp") is taken only when every one of
// those replies was read after the last one of them changed: a signal that
// switched between two of the reads would otherwise give a value neither
// signal has. The live view may show it; the log waits for the next cycle.
class SignalWatch {
  public:
    struct Seen {
        std::vector<SignalChange> changes;     // old value -> new value
        std::vector<SignalChange> first_seen;  // old_value empty
    };
    // `index` is the poll item that was answered with `reply` and decoded
    // into `updates`. `items` are the polled view's; updates for other
    // controls are ignored.
    Seen observe(int index, const PollReply& reply, const std::vector<SignalItem>& items,
                 const DisplayUpdates& updates, std::int64_t time_ms);
    // The item's last value; nullptr before it was seen.
    const std::string* value(const std::string& item) const;

  private:
    // Whether the reply just read to `index` and the replies it depends on
    // describe one signal.
    bool consistent(int index) const;

    struct Read {
        std::string reply;
        std::uint64_t read = 0;     // the read's number
        std::uint64_t changed = 0;  // the number of the read that saw it change
    };
    std::unordered_map<std::string, std::string> values_;
    std::unordered_map<int, Read> reads_;
    std::uint64_t read_count_ = 0;
};

// The changes found, oldest first, bounded so a run of days or weeks keeps
// bounded memory; the count per item covers every change since the last
// clear, including those no longer kept.
class SignalLog {
  public:
    static constexpr std::size_t max_changes = 100000;

    explicit SignalLog(std::size_t capacity = max_changes) : capacity_(capacity) {}

    // Drops the oldest change first when the log is full.
    void add(const SignalChange& change);
    bool full() const { return changes_.size() >= capacity_; }
    void drop_oldest();
    void clear();

    const std::deque<SignalChange>& changes() const { return changes_; }
    const std::map<std::string, std::int64_t>& counts() const { return counts_; }
    std::int64_t total() const { return total_; }

  private:
    std::size_t capacity_;
    std::deque<SignalChange> changes_;
    std::map<std::string, std::int64_t> counts_;
    std::int64_t total_ = 0;
};

// The kept changes as CSV (RFC 4180): a header line "time,item,old,new", CR LF
// line ends, a field quoted when it holds a comma, a quote, CR or LF, with
// its quotes doubled.
std::string signal_log_csv(const SignalLog& log);

}  // namespace t27
