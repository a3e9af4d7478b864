#pragma once
// The "R" button of a block: write the expected checksum into the buffer and
// into the hex text, and say so on the block's checksum label.
#include <string>

#include "edid/edid_buffer.h"

namespace t27 {

struct ChecksumRepair {
    bool text_changed = false;  // the line ending with the block's last index was found
    std::string label;          // "BK0=3Ah fixed", shown in black
};

// Sets byte 128*block+127 to checksums[block] and replaces the last digit pair
// on the text line whose index comment is that byte's index. The rest of the
// text is left alone.
ChecksumRepair edid_checksum_repair(EdidBuffer& buf, std::string& text, int block);

}  // namespace t27
