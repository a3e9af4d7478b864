#include "analyser/signal_log.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "analyser/monitor_layout.h"
#include "common/local_time.h"

namespace t27 {

namespace {

bool is_indicator(const std::string& control) {
    for (const Indicator& i : packet_indicators())
        if (control == i.label) return true;
    return false;
}

// What this reply makes each control it touches show: the last update of a
// control wins, as on screen. An indicator shows only by its colour.
std::unordered_map<std::string_view, std::string> shown_texts(const DisplayUpdates& u) {
    std::unordered_map<std::string_view, std::string> shown;
    for (const TextUpdate& t : u.texts)
        if (!is_indicator(t.control)) shown[t.control] = t.text;
    for (const ColourUpdate& c : u.colours)
        if (is_indicator(c.control))
            shown[c.control] =
                c.colour == analyser_colour::grey ? packet_absent_text : packet_present_text;
    return shown;
}

std::string csv_field(const std::string& v) {
    if (v.find_first_of(",\"\r\n") == std::string::npos) return v;
    std::string out = "\"";
    for (char c : v) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

}  // namespace

bool SignalWatch::consistent(int index) const {
    const auto own = reads_.find(index);
    if (own == reads_.end()) return false;
    std::uint64_t last_change = own->second.changed;
    for (int input : reply_inputs(index)) {
        // An input not read yet leaves only the start-up state behind, which
        // no signal can have changed.
        if (auto it = reads_.find(input); it != reads_.end())
            last_change = std::max(last_change, it->second.changed);
    }
    for (int input : reply_inputs(index)) {
        if (auto it = reads_.find(input); it != reads_.end() && it->second.read < last_change)
            return false;
    }
    return true;
}

SignalWatch::Seen SignalWatch::observe(int index, const PollReply& reply,
                                       const std::vector<SignalItem>& items,
                                       const DisplayUpdates& updates, std::int64_t time_ms) {
    Seen seen;
    Read& r = reads_[index];
    std::string raw = reply.p1 + '\n' + reply.p2 + '\n' + reply.p3;
    ++read_count_;
    if (r.read == 0 || r.reply != raw) {
        r.reply = std::move(raw);
        r.changed = read_count_;
    }
    r.read = read_count_;
    if (!consistent(index)) return seen;
    const std::unordered_map<std::string_view, std::string> shown = shown_texts(updates);
    if (shown.empty()) return seen;
    for (const SignalItem& item : items) {
        const auto found = shown.find(item.control);
        if (found == shown.end()) continue;
        const std::string* text = &found->second;
        auto it = values_.find(item.name);
        if (it == values_.end()) {
            values_.emplace(item.name, *text);
            seen.first_seen.push_back({time_ms, item.name, {}, *text});
        } else if (it->second != *text) {
            seen.changes.push_back({time_ms, item.name, it->second, *text});
            it->second = *text;
        }
    }
    return seen;
}

const std::string* SignalWatch::value(const std::string& item) const {
    auto it = values_.find(item);
    return it == values_.end() ? nullptr : &it->second;
}

void SignalLog::add(const SignalChange& change) {
    ++counts_[change.item];
    ++total_;
    while (!changes_.empty() && full()) drop_oldest();
    if (capacity_ > 0) changes_.push_back(change);
}

void SignalLog::drop_oldest() {
    if (!changes_.empty()) changes_.pop_front();
}

void SignalLog::clear() {
    changes_.clear();
    counts_.clear();
    total_ = 0;
}

std::string signal_log_csv(const SignalLog& log) {
    std::string out = "time,item,old,new\r\n";
    for (const SignalChange& c : log.changes()) {
        out += csv_field(local_time_text(c.time_ms)) + "," + csv_field(c.item) + "," +
               csv_field(c.old_value) + "," + csv_field(c.new_value) + "\r\n";
    }
    return out;
}

}  // namespace t27
