#include "edid/edid_check.h"

#include <bitset>

#include "edid/base_block.h"
#include "edid/cea_blocks.h"

namespace t27 {

namespace {

constexpr int ext_count_at = 126;

// The first range limits descriptor's maximum pixel clock, in MHz; 0 if none.
int range_limit_mhz(const EdidBuffer& buf) {
    for (int n = 1; n <= 4; ++n) {
        const int at = edid_descriptor_offset(n);
        if (buf.byte(at) == 0 && buf.byte(at + 1) == 0 &&
            buf.byte(at + 3) == descriptor_range_limits) {
            return buf.byte(at + 9) * 10;
        }
    }
    return 0;
}

int hdmi_class_from_vendor_blocks(const EdidBuffer& buf, int cea_block) {
    const CeaVendorBlocks v = cea_vendor_blocks_find(buf, cea_block);
    int detail = edid_hdmi_hd;
    const int h = v.hdmi_header();
    if (h != 0 && cea_block_length(buf, h) > 7) {
        const int b8 = cea_block_byte(buf, h, 8);
        if ((b8 & 0x20) != 0) {
            const int latency_bits = static_cast<int>(std::bitset<8>(b8 & 0xC0).count());
            const int vic_len = cea_block_byte(buf, h, 10 + 2 * latency_bits);
            if (vic_len > 31) detail = edid_hdmi_3g;  // at least one HDMI VIC
        }
    }
    const int f = v.hf_header();
    if (f != 0) {
        const int rate = cea_block_byte(buf, f, 5);  // 5 MHz units
        if (rate >= 120) return edid_hdmi_6g;
        if (rate >= 60 && detail < edid_hdmi_3g) detail = edid_hdmi_3g;
    }
    return detail;
}

void decide_type(EdidBuffer& buf) {
    buf.type_code = (buf.byte(20) & 0x80) != 0 ? edid_type_dvi : edid_type_analog;
    const int cea = edid_cea_block_for_type(buf);
    if (cea < 0) return;
    const CeaDataBlockIndex index = cea_collect_data_blocks(buf, cea);
    if (index.found(cea_vendor_first)) {
        buf.type_code = cea_vendor_oui_is(buf, index.at(cea_vendor_first), oui_hdmi)
                            ? edid_type_hdmi
                            : edid_type_dvi;
    }
    if (index.found(cea_vendor_second) &&
        cea_vendor_oui_is(buf, index.at(cea_vendor_second), oui_hdmi)) {
        buf.type_code = edid_type_hdmi;
    }
    if (buf.type_code != edid_type_hdmi) return;

    buf.type_detail = edid_hdmi_hd;
    const int mhz = range_limit_mhz(buf);
    if (mhz >= 600) {
        buf.type_detail = edid_hdmi_6g;
    } else if (mhz >= 300) {
        buf.type_detail = edid_hdmi_3g;
    }
    if (buf.type_detail != edid_hdmi_6g) {
        const int raised = hdmi_class_from_vendor_blocks(buf, cea);
        if (raised > buf.type_detail) buf.type_detail = raised;
    }
}

}  // namespace

int edid_expected_checksum(const EdidBuffer& buf, int block) {
    int sum = 0;
    for (int i = 0; i < edid_block_bytes - 1; ++i) sum += buf.byte(edid_block_bytes * block + i);
    return (256 - sum % 256) % 256;
}

int edid_cea_block_for_type(const EdidBuffer& buf) {
    if (buf.size == 256 && buf.byte(128) == 0x02) return 1;
    // Three- and four-block images were expected to carry a block map in
    // block 1 and the CEA block after it ...
    if ((buf.size == 384 || buf.size == 512) && buf.byte(256) == 0x02) return 2;
    if (buf.size == 512 && buf.byte(384) == 0x02) return 3;
    // ... but newer ones put the CEA block first and another extension after
    // it; judging those by byte 20 alone would call an HDMI sink DVI.
    if (buf.size >= 384 && buf.byte(128) == 0x02) return 1;
    return -1;
}

void edid_check_in_place(EdidBuffer& buf) {
    const int extensions = buf.byte(ext_count_at);
    buf.block_count = extensions + 1;
    buf.type_code = edid_none;
    buf.type_detail = edid_none;
    if (buf.size != edid_block_bytes * buf.block_count || extensions > edid_max_blocks - 1) {
        buf.type_code = edid_type_invalid;
        buf.type_detail = edid_error_block_count;
        return;
    }
    for (int b = 0; b < buf.block_count; ++b) {
        const int expected = edid_expected_checksum(buf, b);
        buf.checksums[static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(expected);
        if (buf.byte(edid_block_bytes * b + 127) != expected) {
            buf.type_code = edid_type_invalid;
            buf.type_detail = edid_error_checksum;
        }
    }
    for (std::size_t i = 0; i < edid_header.size(); ++i) {
        if (buf.data[i] != edid_header[i]) {
            buf.type_code = edid_type_invalid;
            buf.type_detail = edid_error_header;
            break;
        }
    }
    if (buf.type_code != edid_type_invalid) decide_type(buf);
    edid_decode_base_block(buf);
}

void edid_check(EdidBuffer& side, EdidBuffer& working) {
    working = side;
    edid_check_in_place(working);
    side = working;
}

bool edid_second_block_blank(const EdidBuffer& buf) {
    for (int i = 128; i < 256; ++i) {
        if (buf.byte(i) != 0xFF) return false;
    }
    return true;
}

int edid_read_size(const EdidBuffer& buf) {
    const int extensions = buf.byte(ext_count_at);
    if (extensions == 2) return 384;
    if (extensions == 3) return 512;
    if (extensions == 0 && edid_second_block_blank(buf)) return 128;
    return 256;
}

void edid_write_side_size_fix(EdidBuffer& buf) {
    if (buf.byte(ext_count_at) == 0 && buf.size == 256 && edid_second_block_blank(buf)) {
        buf.size = 128;
    }
}

}  // namespace t27
