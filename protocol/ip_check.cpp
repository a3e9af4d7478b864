#include "protocol/ip_check.h"

#include <vector>

namespace t27 {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
    return s;
}

// Decimal text of the number a part starts with: blanks and a sign may come
// first; no digits gives "0". Worked on the digits as text, so a long run of
// digits cannot overflow.
std::string leading_number(std::string_view part) {
    std::size_t i = 0;
    while (i < part.size() && is_blank(part[i])) ++i;
    bool negative = false;
    if (i < part.size() && (part[i] == '-' || part[i] == '+')) {
        negative = part[i] == '-';
        ++i;
    }
    while (i < part.size() && part[i] == '0') ++i;
    std::string digits;
    while (i < part.size() && is_digit(part[i])) digits += part[i++];
    if (digits.empty()) return "0";
    return negative ? "-" + digits : digits;
}

std::vector<std::string_view> split_dots(std::string_view s) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = s.find('.', start);
        if (dot == std::string_view::npos) {
            parts.push_back(s.substr(start));
            return parts;
        }
        parts.push_back(s.substr(start, dot - start));
        start = dot + 1;
    }
}

}  // namespace

IpCheckResult ip_check(std::string_view entry) {
    const std::vector<std::string_view> parts = split_dots(trim(entry));
    IpCheckResult result;
    if (parts.size() != 4) return result;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) result.text += '.';
        result.text += leading_number(parts[i]);
    }
    result.ok = true;
    return result;
}

IpEntryUpdate ip_entry_check(std::string_view entry, const std::string& saved_ip,
                             bool ethernet_connected) {
    IpEntryUpdate update;
    IpCheckResult checked = ip_check(entry);
    update.ok = checked.ok;
    if (checked.ok) {
        update.entry_text = checked.text;
        update.saved_ip = checked.text;
    } else {
        update.entry_text = ethernet_connected ? saved_ip : std::string(entry);
        update.saved_ip = saved_ip;
    }
    return update;
}

}  // namespace t27
