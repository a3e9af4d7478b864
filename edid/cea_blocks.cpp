#include "edid/cea_blocks.h"

namespace t27 {

namespace {

struct TagEntry {
    int tag;
    int entry;
};
// Tags 3 (vendor) and 7 (extended) are placed by their own rules.
constexpr std::array<TagEntry, 3> tag_entries = {
    {{1, cea_audio}, {2, cea_video}, {4, cea_speaker}}};
constexpr std::array<TagEntry, 6> extended_tag_entries = {{{0, cea_video_capability},
                                                           {5, cea_colorimetry},
                                                           {6, cea_hdr_static},
                                                           {14, cea_y420_video},
                                                           {15, cea_y420_capability_map},
                                                           {13, cea_format_preference}}};
constexpr int tag_vendor = 3;
constexpr int tag_extended = 7;

int entry_for(const EdidBuffer& buf, int header) {
    const int tag = buf.byte(header) >> 5;
    if (tag == tag_extended) {
        if (cea_block_length(buf, header) < 1) return cea_other;
        const int ext = buf.byte(header + 1);
        for (const TagEntry& t : extended_tag_entries) {
            if (t.tag == ext) return t.entry;
        }
        return cea_other;
    }
    for (const TagEntry& t : tag_entries) {
        if (t.tag == tag) return t.entry;
    }
    return cea_other;
}

}  // namespace

int cea_block_length(const EdidBuffer& buf, int header) { return buf.byte(header) & 0x1F; }

int cea_block_byte(const EdidBuffer& buf, int header, int k) {
    if (k > cea_block_length(buf, header) || header + k >= edid_data_bytes) return -1;
    return buf.byte(header + k);
}

CeaDataBlockIndex cea_collect_data_blocks(const EdidBuffer& buf, int block) {
    CeaDataBlockIndex index;
    const int s = edid_block_bytes * block;
    const int d = buf.byte(s + 2);
    if (d == 0 || d == 4) {
        index.entry.fill(edid_none);
        return index;
    }
    index.has_collection = true;
    const int end = s + d < edid_data_bytes ? s + d : edid_data_bytes;
    for (int header = s + 4; header < end; header += cea_block_length(buf, header) + 1) {
        int e = entry_for(buf, header);
        if ((buf.byte(header) >> 5) == tag_vendor) {
            if (index.entry[cea_vendor_first] == 0) {
                e = cea_vendor_first;
            } else if (index.entry[cea_vendor_second] == 0) {
                e = cea_vendor_second;
            } else {
                continue;  // a third vendor block is not kept
            }
        }
        if (index.entry[static_cast<std::size_t>(e)] == 0) {
            index.entry[static_cast<std::size_t>(e)] = header;
        }
    }
    return index;
}

bool cea_vendor_oui_is(const EdidBuffer& buf, int header, const std::array<int, 3>& oui) {
    for (int k = 0; k < 3; ++k) {
        if (cea_block_byte(buf, header, k + 1) != oui[static_cast<std::size_t>(k)]) return false;
    }
    return true;
}

CeaVendorBlocks cea_vendor_blocks_find(const EdidBuffer& buf, int block) {
    CeaVendorBlocks v;
    v.index = cea_collect_data_blocks(buf, block);
    if (!v.index.has_collection) return v;
    // Later entries win when both vendor blocks are of one kind.
    for (int e : {cea_vendor_first, cea_vendor_second}) {
        const int h = v.index.at(e);
        if (h == 0 || cea_block_length(buf, h) <= 4) continue;
        if (cea_vendor_oui_is(buf, h, oui_hdmi)) v.hdmi = e;
        if (cea_vendor_oui_is(buf, h, oui_hdmi_forum)) v.hf = e;
    }
    const int h = v.hdmi_header();
    if (h == 0) return v;
    const int b8 = cea_block_byte(buf, h, 8);
    if (cea_block_length(buf, h) <= 7 || b8 < 0 || (b8 & 0x20) == 0) return v;
    if ((b8 & 0x80) == 0) {
        v.hdmi_3d_offset = 9;
    } else {
        v.hdmi_3d_offset = (b8 & 0x40) == 0 ? 11 : 13;
    }
    // Only bytes inside the vendor block count: the byte after it belongs to
    // the next data block.
    const int b3d = cea_block_byte(buf, h, v.hdmi_3d_offset);
    v.hdmi_3d_present = b3d >= 0 && (b3d & 0x80) != 0;
    const int len_byte = cea_block_byte(buf, h, v.hdmi_3d_offset + 1);
    v.hdmi_vic_length = len_byte >= 0 ? len_byte >> 5 : 0;
    for (int i = 0; i < v.hdmi_vic_length; ++i) {
        const int vic = cea_block_byte(buf, h, v.hdmi_3d_offset + 2 + i);
        if (vic < 0) break;
        v.hdmi_vics.push_back(vic);
    }
    return v;
}

int cea_audio_flags(const EdidBuffer& buf, const CeaDataBlockIndex& index) {
    if (!index.found(cea_audio)) return cea_flags_absent;
    const int h = index.at(cea_audio);
    int flags = 0;
    for (int k = 0; k + 3 <= cea_block_length(buf, h); k += 3) {
        const int first = cea_block_byte(buf, h, k + 1);
        if (first < 0) break;
        const int code = (first >> 3) & 0x0F;
        if (code == 0 || (code >= 9 && code <= 14)) flags |= 4;
        if (code >= 2 && code <= 8) flags |= 2;
        if (code == 1) flags |= 1;
    }
    return flags;
}

int cea_hdmi14_flags(const EdidBuffer& buf, const CeaVendorBlocks& vendor) {
    const int h = vendor.hdmi_header();
    if (h == 0) return cea_flags_absent;
    int flags = 0;
    const int b6 = cea_block_byte(buf, h, 6);
    if (b6 >= 0 && (b6 & 0x70) != 0) flags |= 4;
    if (vendor.hdmi_3d_present) flags |= 2;
    for (int vic : vendor.hdmi_vics) {
        if (vic >= 1 && vic <= 4) flags |= 1;
    }
    return flags;
}

int cea_hf_flags(const EdidBuffer& buf, const CeaVendorBlocks& vendor) {
    const int h = vendor.hf_header();
    if (h == 0) return cea_flags_absent;
    int flags = 0;
    const int b5 = cea_block_byte(buf, h, 5);
    const int b6 = cea_block_byte(buf, h, 6);
    const int b7 = cea_block_byte(buf, h, 7);
    if (b5 > 67) flags |= 4;
    if (b6 >= 0 && (b6 & 0x80) != 0) flags |= 2;
    if (b7 >= 0 && (b7 & 0x07) != 0) flags |= 1;
    return flags;
}

Svd svd_decode(int byte) {
    // Codes 129-192 are VICs 1-64 marked native; above that the code is the VIC.
    if (byte >= 129 && byte <= 192) return {byte - 128, true};
    return {byte, false};
}

int svd_encode(int vic, bool native) { return native && vic >= 1 && vic <= 64 ? vic + 128 : vic; }

int cea_first_vic(const EdidBuffer& buf, const CeaDataBlockIndex& index) {
    if (!index.found(cea_video)) return -1;
    const int svd = cea_block_byte(buf, index.at(cea_video), 1);
    return svd < 0 ? -1 : svd_decode(svd).vic;
}

}  // namespace t27
