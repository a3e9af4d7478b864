#include "sim/cable_control.h"

#include <charconv>

namespace t27::sim {

namespace {

constexpr int max_time_scale = 1000000;

bool parse_count(std::string_view text, int lo, int hi, int& out) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size() && out >= lo && out <= hi;
}

struct QualityName {
    const char* name;
    CableQuality quality;
};

constexpr QualityName qualities[] = {
    {"good", CableQuality::good},
    {"marginal", CableQuality::marginal},
    {"bad", CableQuality::bad},
};

std::string set_cable(UnitModel& unit, std::string_view value) {
    const std::size_t blank = value.find(' ');
    const std::string_view name = value.substr(0, blank);
    int fail_after = unit.state().cable.fail_after_s();
    if (blank != std::string_view::npos &&
        !parse_count(value.substr(blank + 1), 1, 30 * 86400, fail_after))
        return "error: the seconds before errors show are 1 to 2592000";
    for (const QualityName& q : qualities)
        if (name == q.name) {
            unit.state().cable.update(unit.now_ms());
            unit.state().cable.set_cable(q.quality, fail_after);
            return "ok";
        }
    return "error: cable is good, marginal or bad";
}

}  // namespace

std::string set_cable_option(UnitModel& unit, std::string_view what, std::string_view value) {
    if (what == "time-scale") {
        int scale = 0;
        if (!parse_count(value, 1, max_time_scale, scale))
            return "error: time-scale needs a number 1 to 1000000";
        unit.state().cable.set_time_scale(unit.now_ms(), scale);
        return "ok";
    }
    if (what == "cable") return set_cable(unit, value);
    return {};
}

}  // namespace t27::sim
