#include "generator/output_select.h"

#include <cmath>
#include <cstdint>

#include "protocol/unit_identity.h"

namespace t27 {

namespace {

// The number a text starts with, read the lenient way the unit's numbers are
// read everywhere: blanks skipped, optional sign, digits, optional fraction;
// 0 when there is none.
double leading_number(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    double v = 0;
    bool any = false;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        v = v * 10 + (s[i] - '0');
        any = true;
    }
    if (i < s.size() && s[i] == '.') {
        double scale = 0.1;
        for (++i; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, scale /= 10) {
            v += (s[i] - '0') * scale;
            any = true;
        }
    }
    if (!any) return 0;
    return negative ? -v : v;
}

}  // namespace

bool timing_output_allowed(int n, int task_mode) {
    return n != timing_follow_input || task_mode == task_analyser;
}

int readback_entry(std::string_view param, int count) {
    const double v = leading_number(param);
    // Halves go to the even neighbour, as the unit's integer conversion does.
    const double r = std::nearbyint(v);
    if (!(r >= INT16_MIN && r <= INT16_MAX)) return 1;
    const int n = static_cast<int>(r);
    return n < 1 || n > count ? 1 : n;
}

bool colour_variant(std::string_view linked_model, int model_family) {
    return linked_model == "T28" && model_family == family_v4l;
}

PatternExtras pattern_extras_show(int n, int current, bool variant) {
    PatternExtras e;
    if (!variant) {
        e.motion_visible = n == pattern_motion_a || n == pattern_motion_b;
        return e;
    }
    e.colour_visible = n == pattern_colour_cal;
    e.colour_enabled = e.colour_visible && current == n;
    return e;
}

PatternReadbackExtras pattern_readback_extras(int n, bool variant) {
    PatternReadbackExtras e;
    if (!variant) {
        e.query_motion_text = n == pattern_motion_a || n == pattern_motion_b;
        return e;
    }
    e.set_colour_visible = true;
    e.colour_visible = n == pattern_colour_cal;
    return e;
}

std::string trim_blanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace t27
