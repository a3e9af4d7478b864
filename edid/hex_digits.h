#pragma once
// Hex digits as the EDID texts write and read them: upper case, no padding.
#include <string>

namespace t27 {

// 0-15 for 0-9, A-F, a-f; -1 for anything else.
constexpr int hex_digit_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Upper-case hex without leading zeros ("0" for zero).
inline std::string hex_upper(unsigned value) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    do {
        out.insert(out.begin(), digits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return out;
}

// Upper-case hex filled with leading zeros to `width` digits.
inline std::string hex_upper(unsigned value, std::size_t width) {
    std::string out = hex_upper(value);
    if (out.size() < width) out.insert(0, width - out.size(), '0');
    return out;
}

}  // namespace t27
