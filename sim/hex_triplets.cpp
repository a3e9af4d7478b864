#include "sim/hex_triplets.h"

#include "protocol/engine.h"

namespace t27::sim {

namespace {

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string to_triplets(const std::uint8_t* p) { return edid_triplets(p, 128); }

std::optional<std::vector<std::uint8_t>> from_triplets(std::string_view text) {
    if (text.size() != 384) return std::nullopt;
    std::vector<std::uint8_t> out(128);
    for (std::size_t i = 0; i < 128; ++i) {
        int hi = hex_value(text[3 * i]);
        int lo = hex_value(text[3 * i + 1]);
        if (hi < 0 || lo < 0 || text[3 * i + 2] != ' ') return std::nullopt;
        out[i] = static_cast<std::uint8_t>(hi * 16 + lo);
    }
    return out;
}

}  // namespace t27::sim
