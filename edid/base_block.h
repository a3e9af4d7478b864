#pragma once
// Block 0 fields: manufacturer letters, product code, the four 18-byte
// descriptors, the first detailed timing and the monitor name.
#include <string>
#include <vector>

#include "edid/edid_buffer.h"

namespace t27 {

// Descriptor kinds; the display-descriptor kinds are their tag bytes.
enum EdidDescriptorKind : int {
    descriptor_detailed_timing = 224,
    descriptor_continuation = 225,  // the entry after a 0xFA descriptor
    descriptor_other = 226,
    descriptor_standard_timings = 0xFA,
    descriptor_serial = 0xFF,
    descriptor_text = 0xFE,
    descriptor_range_limits = 0xFD,
    descriptor_monitor_name = 0xFC,
    descriptor_established_iii = 0xF7,
};

struct EdidDescriptorEntry {
    int number = 0;  // 1-4
    int kind = descriptor_other;
};

inline constexpr int edid_first_descriptor = 54;
inline constexpr int edid_descriptor_bytes = 18;

// Byte offset of descriptor n (1-4) of block 0.
constexpr int edid_descriptor_offset(int n) {
    return edid_first_descriptor + edid_descriptor_bytes * (n - 1);
}

std::vector<EdidDescriptorEntry> edid_descriptor_table(const EdidBuffer& buf);
std::string edid_manufacturer_letters(const EdidBuffer& buf);
int edid_product_code(const EdidBuffer& buf);
std::string edid_monitor_name(const EdidBuffer& buf);

// Fills manufacturer, monitor_name and the first-timing fields of `buf`.
void edid_decode_base_block(EdidBuffer& buf);

// "1920x1080p"; "1920x1080i" for an interlaced timing (whose lines count per
// field, hence doubled). Empty when block 0 has no detailed timing.
std::string edid_native_text(const EdidBuffer& buf);

// A rate as "###.000": three decimals, no leading blanks, and no "0" before
// the point for rates below one.
std::string edid_rate_text(float rate);

}  // namespace t27
