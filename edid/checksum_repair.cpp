#include "edid/checksum_repair.h"

#include "edid/hex_digits.h"

namespace t27 {

namespace {

bool is_line_end(const std::string& t, std::size_t i) {
    return i >= t.size() || t[i] == ' ' || t[i] == '\r' || t[i] == '\n';
}

// Start of the last digit pair before the "//" comment that names `index`,
// or npos.
std::size_t last_pair_before(const std::string& t, int index) {
    const std::string mark = "//" + hex_upper(static_cast<unsigned>(index));
    for (std::size_t at = t.find(mark); at != std::string::npos; at = t.find(mark, at + 1)) {
        if (!is_line_end(t, at + mark.size())) continue;
        std::size_t j = at;
        while (j > 0 && t[j - 1] == ' ') --j;
        if (j >= 2 && hex_digit_value(t[j - 1]) >= 0 && hex_digit_value(t[j - 2]) >= 0) {
            return j - 2;
        }
    }
    return std::string::npos;
}

}  // namespace

ChecksumRepair edid_checksum_repair(EdidBuffer& buf, std::string& text, int block) {
    ChecksumRepair r;
    if (block < 0 || block >= edid_max_blocks) return r;
    const int value = buf.checksums[static_cast<std::size_t>(block)];
    const int at = edid_block_bytes * block + 127;
    buf.data[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value);
    const std::size_t pair = last_pair_before(text, at);
    if (pair != std::string::npos) {
        text.replace(pair, 2, hex_upper(static_cast<unsigned>(value), 2));
        r.text_changed = true;
    }
    r.label =
        "BK" + std::to_string(block) + "=" + hex_upper(static_cast<unsigned>(value)) + "h fixed";
    return r;
}

}  // namespace t27
