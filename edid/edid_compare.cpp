#include "edid/edid_compare.h"

#include <algorithm>

#include "edid/hex_text.h"

namespace t27 {

namespace {

// How far an image reaches into the compared blocks. A buffer is longer than
// its image (a one-block file leaves block 1 as zeros, a one-block dump shows
// it as FF), and those bytes are not part of either image.
int compared_bytes(const EdidBuffer& b) {
    return b.size > 0 ? std::min(b.size, edid_compare_bytes) : edid_compare_bytes;
}

}  // namespace

EdidCompare edid_compare(const std::string& read_text, const EdidBuffer& read,
                         const std::string& write_text, const EdidBuffer& write) {
    EdidCompare r;
    if (read_text.empty() || write_text.empty()) {
        r.error = "READ or WRITE data is empty!";
        return r;
    }
    const int bytes = std::min(compared_bytes(read), compared_bytes(write));
    for (int p = 0; p < bytes; ++p) {
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
