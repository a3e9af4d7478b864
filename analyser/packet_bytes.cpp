#include "analyser/packet_bytes.h"

#include <cmath>

namespace t27 {

namespace {

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool is_blank(char c) { return c == ' '; }

}  // namespace

bool packet_present(std::string_view value) { return value != "None" && value != "off"; }

std::string packet_string(std::string_view value) {
    std::size_t first = 0;
    while (first < value.size() && is_blank(value[first])) ++first;
    std::size_t last = value.size();
    while (last > first && is_blank(value[last - 1])) --last;
    std::string out(value.substr(first, last - first));
    out += ' ';
    return out;
}

PacketBytes parse_packet_bytes(std::string_view packet) {
    PacketBytes bytes{};
    // The last index is L/3 - 1 rounded to nearest (ties to even): a trailing
    // pair without its blank still counts, a lone trailing digit does not.
    const double last_exact = static_cast<double>(packet.size()) / 3.0 - 1.0;
    const long last = std::lrint(last_exact);
    for (long i = 0; i <= last && i < packet_max_bytes; ++i) {
        const std::size_t pos = static_cast<std::size_t>(i) * 3;
        int value = 0;
        for (std::size_t k = pos; k < pos + 2 && k < packet.size(); ++k) {
            const int d = hex_digit(packet[k]);
            if (d < 0) break;
            value = value * 16 + d;
        }
        bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value);
    }
    return bytes;
}

}  // namespace t27
