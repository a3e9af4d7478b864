#include "cable/cable_progress.h"

#include "cable/cable_text.h"
#include "cable/cable_times.h"

namespace t27 {

std::optional<long long> cable_elapsed_s(const std::array<std::string, 4>& timer) {
    std::array<long long, 4> n{};
    for (std::size_t i = 0; i < timer.size(); ++i) {
        const std::optional<long long> v = parse_decimal(timer[i]);
        if (!v) return std::nullopt;
        n[i] = *v;
    }
    // Held in 64 bits: a day count from the unit can be large enough to carry
    // a 32-bit sum past its end, and the bar is clamped anyway.
    return n[timer_minute] * 60 + n[timer_second] + n[timer_hour] * 60 * 60 +
           n[timer_day] * 24 * 60 * 60;
}

int cable_progress_value(long long elapsed_s, int duration_s, int full) {
    if (duration_s <= 0 || elapsed_s <= 0) return 0;
    if (elapsed_s >= duration_s) return full;
    return static_cast<int>(static_cast<long long>(full) * elapsed_s / duration_s);
}

void cable_progress_update(CableView& view) {
    if (!view.running() || view.time_entry == cable_time_endless) return;
    const std::optional<long long> s = parse_decimal(view.timer[timer_second]);
    if (!s || *s == 0 || *s == 59) return;
    const std::optional<long long> elapsed = cable_elapsed_s(view.timer);
    if (!elapsed) return;
    const std::optional<int> duration = cable_duration_s(view.time_entry);
    if (!duration) return;
    view.pbar_value = cable_progress_value(*elapsed, *duration, cable_pbar_full);
}

}  // namespace t27
