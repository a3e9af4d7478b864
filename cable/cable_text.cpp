#include "cable/cable_text.h"

namespace t27 {

std::string upper_text(const std::string& text) {
    std::string out = text;
    for (char& ch : out) {
        const auto c = static_cast<unsigned char>(ch);
        const bool ascii_small = c >= 'a' && c <= 'z';
        const bool latin_small = c >= 0xE0 && c <= 0xFE && c != 0xF7;
        if (ascii_small || latin_small) ch = static_cast<char>(c - 0x20);
    }
    return out;
}

std::optional<long long> parse_decimal(const std::string& text) {
    std::size_t i = 0, end = text.size();
    while (i < end && text[i] == ' ') ++i;
    while (end > i && text[end - 1] == ' ') --end;
    bool negative = false;
    if (i < end && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == end || end - i > 9) return std::nullopt;
    long long n = 0;
    for (; i < end; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        n = n * 10 + (text[i] - '0');
    }
    return negative ? -n : n;
}

}  // namespace t27
