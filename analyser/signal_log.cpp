#include "analyser/signal_log.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <optional>

#include "analyser/monitor_layout.h"

namespace t27 {

namespace {

bool is_indicator(const std::string& control) {
    for (const Indicator& i : packet_indicators())
        if (control == i.label) return true;
    return false;
}

// What this reply makes the control show: the last update of it wins, as on
// screen. An indicator shows only by its colour. Empty when the reply leaves
// the control alone.
std::optional<std::string> shown_text(const std::string& control, const DisplayUpdates& u) {
    std::optional<std::string> text;
    if (is_indicator(control)) {
        for (const ColourUpdate& c : u.colours)
            if (c.control == control)
                text = c.colour == analyser_colour::grey ? packet_absent_text : packet_present_text;
        return text;
    }
    for (const TextUpdate& t : u.texts)
        if (t.control == control) text = t.text;
    return text;
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

SignalWatch::Seen SignalWatch::observe(const std::vector<SignalItem>& items,
                                       const DisplayUpdates& updates, std::int64_t time_ms) {
    Seen seen;
    for (const SignalItem& item : items) {
        const std::optional<std::string> text = shown_text(item.control, updates);
        if (!text) continue;
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

std::string local_time_text(std::int64_t time_ms) {
    std::int64_t secs = time_ms / 1000;
    int ms = static_cast<int>(time_ms % 1000);
    if (ms < 0) {
        ms += 1000;
        --secs;
    }
    const std::time_t t = static_cast<std::time_t>(secs);
    std::tm tm{};
#if defined(_WIN32)
    localtime_s(&tm, &t);  // the same call, arguments the other way round
#else
    localtime_r(&t, &tm);
#endif
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, ms);
    return buf;
}

std::int64_t wall_clock_ms() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
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
