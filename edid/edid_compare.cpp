#include "edid/edid_compare.h"

namespace t27 {

std::size_t edid_text_offset(int p) {
    const int separator = p > 127 ? 31 : 0;
    return static_cast<std::size_t>(3 * p + 7 * (p / 8) + separator);
}

EdidCompare edid_compare(const std::string& read_text, const EdidBuffer& read,
                         const std::string& write_text, const EdidBuffer& write) {
    EdidCompare r;
    if (read_text.empty() || write_text.empty()) {
        r.error = "READ or WRITE data is empty!";
        return r;
    }
    for (int p = 0; p < edid_compare_bytes; ++p) {
        if (read.byte(p) != write.byte(p)) {
            r.differing.push_back(p);
            r.offsets.push_back(edid_text_offset(p));
        }
    }
    if (r.differing.empty()) {
        r.msg1 = "Match";
        r.msg2 = " entirely.";
        r.colour = edid_match_colour;
    } else {
        r.msg1 = std::to_string(r.differing.size()) + " wrong";
        r.msg2 = " data !";
        r.colour = edid_mismatch_colour;
    }
    return r;
}

}  // namespace t27
