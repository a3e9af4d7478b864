#include "analyser/value_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace t27 {

std::string lead_blank(std::int64_t n) {
    return n < 0 ? std::to_string(n) : " " + std::to_string(n);
}

std::string upper_text(std::string_view text) {
    std::string out(text);
    for (char& ch : out) {
        const auto c = static_cast<unsigned char>(ch);
        // Latin-1 lower-case letters sit 0x20 above their capitals, except the
        // division sign and y-diaeresis, which have none.
        if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
            ch = static_cast<char>(c - 0x20);
        }
    }
    return out;
}

double leading_number(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t digits_start = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    }
    if (i == digits_start || (i == digits_start + 1 && text[digits_start] == '.')) return 0.0;
    // from_chars takes no '+'; the sign is applied by hand.
    std::size_t number_start = start;
    bool negative = false;
    if (text[start] == '+' || text[start] == '-') {
        negative = text[start] == '-';
        number_start = start + 1;
    }
    double value = 0.0;
    const char* first = text.data() + number_start;
    const char* last = text.data() + i;
    if (std::from_chars(first, last, value).ec != std::errc()) return 0.0;
    return negative ? -value : value;
}

std::int64_t nearest_integer(double value, std::int64_t lo, std::int64_t hi) {
    if (std::isnan(value)) return 0;
    const double r = std::nearbyint(value);
    if (r <= static_cast<double>(lo)) return lo;
    if (r >= static_cast<double>(hi)) return hi;
    return static_cast<std::int64_t>(r);
}

std::string data_rate_text(std::string_view value) {
    if (value == "None") return std::string(value);
    if (value.size() >= 3) {
        const std::string_view whole = value.substr(0, value.size() - 3);
        return (whole.empty() ? std::string("0") : std::string(whole)) + "." +
               std::string(value.substr(value.size() - 3));
    }
    bool digits = !value.empty();
    for (char c : value) digits = digits && c >= '0' && c <= '9';
    if (!digits) return std::string(value);
    return "0." + std::string(3 - value.size(), '0') + std::string(value);
}

std::int64_t horizontal_frequency(std::int64_t pixel_clock_hz, std::int64_t h_total) {
    if (h_total == 0) return 0;
    return static_cast<std::int64_t>(
        std::nearbyint(static_cast<double>(pixel_clock_hz) / static_cast<double>(h_total)));
}

std::string vertical_frequency_text(std::int64_t pixel_clock_hz, std::int64_t h_total,
                                    std::int64_t v_total, std::string_view scan_letter) {
    if (h_total == 0 || v_total == 0) return "?";
    double hz = static_cast<double>(pixel_clock_hz) /
                (static_cast<double>(v_total) * static_cast<double>(h_total));
    if (scan_letter == "i") hz *= 2.0;
    // Two decimals, halves away from zero, as a display format rounds. The
    // digits come from printing the whole number of hundredths, which stays
    // exact however large a bogus reply makes it.
    const double hundredths = std::round(hz * 100.0);
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.0f", std::fabs(hundredths));
    std::string digits = buf;
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
    const std::string whole = digits.substr(0, digits.size() - 2);
    std::string text = hundredths < 0 ? "-" : "";
    if (whole != "0") text += whole;
    text += '.';
    text += digits.substr(digits.size() - 2);
    return text;
}

std::int64_t pixel_clock_hz_from(std::string_view value) {
    if (value == "None") return 0;
    return nearest_integer(leading_number(value) * 1000.0, std::numeric_limits<std::int64_t>::min(),
                           std::numeric_limits<std::int64_t>::max());
}

std::int64_t total_from(std::string_view value) {
    // Totals are pixel and line counts; past this a reply is garbled.
    constexpr std::int64_t limit = std::numeric_limits<std::int32_t>::max();
    if (value == "None") return 0;
    return nearest_integer(leading_number(value), -limit, limit);
}

std::string scan_mode_text(std::string_view value) {
    if (value == "i") return "Interlace";
    if (value == "p") return "Progressive";
    return std::string(value);
}

std::string pattern_text(std::string_view position, std::span<const std::string> patterns) {
    const double n = leading_number(position);
    if (n >= 1 && n <= static_cast<double>(patterns.size()) && n == std::floor(n)) {
        return patterns[static_cast<std::size_t>(n) - 1];
    }
    return std::string(position);
}

bool hdcp_out_passes(std::string_view value) { return value.ends_with("on"); }

}  // namespace t27
