// Fields of a CTA-861 block's parts: its header, the data blocks the editor
// knows, their listed items, and the detailed timings.
#include "edid/cea_blocks.h"
#include "edid/edit/edit_field_make.h"
#include "edid/edit/edit_schema.h"
#include "edid/edit/edit_schema_parts.h"
#include "edid/vic_names.h"

namespace t27 {

using namespace field_make;

namespace {

int size_of(const std::string& s) { return static_cast<int>(s.size()); }

const std::vector<std::string> format_names = {
    "reserved", "LPCM",          "AC-3",   "MPEG-1", "MP3", "MPEG-2", "AAC LC",  "DTS",
    "ATRAC",    "One Bit Audio", "E-AC-3", "DTS-HD", "MAT", "DST",    "WMA Pro", "extended"};
const std::vector<std::string> rate_names = {"32 kHz", "44.1 kHz",  "48 kHz", "88.2 kHz",
                                             "96 kHz", "176.4 kHz", "192 kHz"};
const std::vector<std::string> scan_names = {"not supported", "always overscanned",
                                             "always underscanned", "overscan or underscan"};
const std::vector<std::string> pt_names = {"no data", "always overscanned", "always underscanned",
                                           "overscan or underscan"};
const std::vector<std::string> hdmi_vic_names = {"", "3840x2160 30Hz", "3840x2160 25Hz",
                                                 "3840x2160 24Hz", "4096x2160 24Hz"};

bool oui_is(const std::string& b, const std::array<int, 3>& oui) {
    return size_of(b) >= 4 && part_byte(b, 1) == oui[0] && part_byte(b, 2) == oui[1] &&
           part_byte(b, 3) == oui[2];
}

std::vector<EdidField> sad_fields(const std::string& b, int o) {
    std::vector<EdidField> f = {
        choice("format", "Format", {{o, 3, 4}}, format_names),
        num("channels", "Channels", {{o, 0, 3}}, {}, 1, 1),
    };
    flags(f, "rate_", o + 1, rate_names);
    const int format = (part_byte(b, o) >> 3) & 0x0F;
    if (format == 1) {
        flags(f, "size_", o + 2, {"16 bit", "20 bit", "24 bit"});
    } else if (format >= 2 && format <= 8) {
        f.push_back(num("max_bit_rate", "Max bit rate", {{o + 2, 0, 8}}, "kb/s", 8));
    } else if (format == 15) {
        f.push_back(num("extension_type", "Extension type", {{o + 2, 3, 5}}));
    } else {
        f.push_back(byte("format_value", "Format-dependent value", o + 2));
    }
    return f;
}

// The HDMI vendor block's optional bytes: each group is there only when its
// flag is set and the block is long enough.
std::vector<EdidField> hdmi_fields(const std::string& b) {
    std::vector<EdidField> f = {
        num("address_a", "Physical address A", {{4, 4, 4}}),
        num("address_b", "Physical address B", {{4, 0, 4}}),
        num("address_c", "Physical address C", {{5, 4, 4}}),
        num("address_d", "Physical address D", {{5, 0, 4}}),
    };
    flags(f, "", 6,
          {"DVI dual link", "", "", "Deep colour 4:4:4", "Deep colour 30 bit", "Deep colour 36 bit",
           "Deep colour 48 bit", "Supports AI"});
    f.push_back(num("max_tmds_clock", "Max TMDS clock", {{7, 0, 8}}, "MHz", 5));
    flags(
        f, "", 8,
        {"Content type graphics", "Content type photo", "Content type cinema", "Content type game",
         "", "HDMI video present", "Interlaced latency present", "Latency present"});
    const int b8 = part_byte(b, 8);
    int o = 9;
    if (b8 & 0x80) {
        f.push_back(byte("video_latency", "Video latency", o));
        f.push_back(byte("audio_latency", "Audio latency", o + 1));
        o += 2;
        if (b8 & 0x40) {
            f.push_back(byte("interlaced_video_latency", "Interlaced video latency", o));
            f.push_back(byte("interlaced_audio_latency", "Interlaced audio latency", o + 1));
            o += 2;
        }
    }
    if (b8 & 0x20) {
        f.push_back(flag("3d_present", "3D present", o, 7));
        f.push_back(num("3d_multi", "3D multi present", {{o, 5, 2}}));
        f.push_back(num("image_size", "Image size", {{o, 3, 2}}));
        f.push_back(read_only(num("hdmi_vic_count", "HDMI VICs", {{o + 1, 5, 3}})));
        f.push_back(read_only(num("hdmi_3d_length", "3D bytes", {{o + 1, 0, 5}})));
        const int count = part_byte(b, o + 1) >> 5;
        for (int i = 0; i < count; ++i) {
            const std::string n = std::to_string(i + 1);
            f.push_back(
                choice("hdmi_vic_" + n, "HDMI VIC " + n, {{o + 2 + i, 0, 8}}, hdmi_vic_names));
        }
    }
    return f;
}

std::vector<EdidField> hdmi_forum_fields() {
    std::vector<EdidField> f = {
        num("max_tmds_rate", "Max TMDS character rate", {{5, 0, 8}}, "MHz", 5),
        flag("scdc_present", "SCDC present", 6, 7),
        flag("rr_capable", "Read request capable", 6, 6),
    };
    flags(f, "", 7,
          {"4:2:0 deep colour 30 bit", "4:2:0 deep colour 36 bit", "4:2:0 deep colour 48 bit"});
    return f;
}

std::vector<EdidField> data_block_fields(const std::string& b) {
    std::vector<EdidField> f = {read_only(num("tag", "Tag", {{0, 5, 3}}))};
    if ((part_byte(b, 0) >> 5) == 7)
        f.push_back(read_only(byte("extended_tag", "Extended tag", 1)));
    switch (data_block_kind(b)) {
        case DataBlockKind::speaker:
            flags(f, "", 1, {"FL/FR", "LFE", "FC", "RL/RR", "RC", "FLC/FRC", "RLC/RRC", "FLW/FRW"});
            flags(f, "", 2, {"FLH/FRH", "TC", "FCH"});
            break;
        case DataBlockKind::hdmi: {
            const auto more = hdmi_fields(b);
            f.insert(f.end(), more.begin(), more.end());
            break;
        }
        case DataBlockKind::hdmi_forum: {
            const auto more = hdmi_forum_fields();
            f.insert(f.end(), more.begin(), more.end());
            break;
        }
        case DataBlockKind::vendor:
            f.push_back(read_only(num("oui", "OUI", {{3, 0, 8}, {2, 0, 8}, {1, 0, 8}})));
            f.back().hex_digits = 6;
            break;
        case DataBlockKind::video_capability:
            f.push_back(flag("qy", "YCC quantization selectable", 2, 7));
            f.push_back(flag("qs", "RGB quantization selectable", 2, 6));
            f.push_back(choice("pt_scan", "Preferred timing scan", {{2, 4, 2}}, pt_names));
            f.push_back(choice("it_scan", "IT scan", {{2, 2, 2}}, scan_names));
            f.push_back(choice("ce_scan", "CE scan", {{2, 0, 2}}, scan_names));
            break;
        case DataBlockKind::colorimetry:
            flags(f, "", 2,
                  {"xvYCC601", "xvYCC709", "sYCC601", "opYCC601", "opRGB", "BT2020cYCC",
                   "BT2020YCC", "BT2020RGB"});
            f.push_back(num("gamut_metadata", "Gamut metadata profiles", {{3, 0, 4}}));
            f.push_back(flag("dci_p3", "DCI-P3", 3, 7));
            break;
        case DataBlockKind::hdr_static:
            flags(f, "eotf_", 2, {"Traditional SDR", "Traditional HDR", "SMPTE ST 2084", "HLG"});
            f.push_back(flag("metadata_type_1", "Static metadata type 1", 3, 0));
            f.push_back(byte("max_luminance", "Desired max luminance (code)", 4));
            f.push_back(byte("max_frame_average", "Desired max frame-average luminance (code)", 5));
            f.push_back(byte("min_luminance", "Desired min luminance (code)", 6));
            break;
        case DataBlockKind::y420_map:
            for (int k = 2; k < size_of(b); ++k)
                for (int bit = 0; bit < 8; ++bit) {
                    const std::string n = std::to_string(8 * (k - 2) + bit + 1);
                    f.push_back(flag("svd_" + n, "SVD " + n + " also 4:2:0", k, bit));
                }
            break;
        default:
            break;
    }
    return f;
}

}  // namespace

const std::vector<std::string>& audio_format_names() { return format_names; }
const std::vector<std::string>& audio_rate_names() { return rate_names; }

const std::vector<DataBlockType>& data_block_types() {
    static const std::vector<DataBlockType> types = {
        {DataBlockKind::audio, "audio", "Audio data block", 1, -1},
        {DataBlockKind::video, "video", "Video data block", 2, -1},
        {DataBlockKind::hdmi, "hdmi", "HDMI vendor block", 3, -1},
        {DataBlockKind::hdmi_forum, "hdmi-forum", "HDMI Forum vendor block", 3, -1},
        {DataBlockKind::vendor, "vendor", "Vendor-specific data block", 3, -1},
        {DataBlockKind::speaker, "speaker", "Speaker allocation", 4, -1},
        {DataBlockKind::video_capability, "video-capability", "Video capability", 7, 0},
        {DataBlockKind::colorimetry, "colorimetry", "Colorimetry", 7, 5},
        {DataBlockKind::hdr_static, "hdr-static", "HDR static metadata", 7, 6},
        {DataBlockKind::y420_video, "y420-video", "YCbCr 4:2:0 video", 7, 14},
        {DataBlockKind::y420_map, "y420-map", "YCbCr 4:2:0 capability map", 7, 15},
        {DataBlockKind::other, "other", "Data block", -1, -1},
    };
    return types;
}

const DataBlockType& data_block_type(DataBlockKind kind) {
    for (const DataBlockType& t : data_block_types())
        if (t.kind == kind) return t;
    return data_block_types().back();
}

DataBlockKind data_block_kind(const std::string& b) {
    const int tag = part_byte(b, 0) >> 5;
    if (tag == 3) {
        if (oui_is(b, oui_hdmi)) return DataBlockKind::hdmi;
        if (oui_is(b, oui_hdmi_forum)) return DataBlockKind::hdmi_forum;
        return size_of(b) >= 4 ? DataBlockKind::vendor : DataBlockKind::other;
    }
    for (const DataBlockType& t : data_block_types()) {
        if (t.tag != tag || t.kind == DataBlockKind::hdmi || t.kind == DataBlockKind::hdmi_forum)
            continue;
        if (t.ext_tag < 0) return t.kind;
        if (size_of(b) >= 2 && part_byte(b, 1) == t.ext_tag) return t.kind;
    }
    return DataBlockKind::other;
}

std::string vic_label(int vic) {
    // The table's names are laid out in columns; a label wants single blanks.
    std::string name;
    for (char c : vic_name(vic))
        if (c != ' ' || (!name.empty() && name.back() != ' ')) name += c;
    if (!name.empty() && name.back() == ' ') name.pop_back();
    return "VIC " + std::to_string(vic) + (name.empty() ? "" : ": " + name);
}

std::vector<EdidField> cta_part_fields(const EdidPart& part) {
    switch (part.role) {
        case EdidPartRole::cta_header: {
            std::vector<EdidField> f = {
                byte("revision", "Revision", 1),
                read_only(byte("timing_offset", "First timing at byte", 2)),
            };
            flags(f, "", 3,
                  {"", "", "", "", "YCbCr 4:2:2", "YCbCr 4:4:4", "Basic audio", "Underscan"});
            f.push_back(num("native_timings", "Native detailed timings", {{3, 0, 4}}));
            return f;
        }
        case EdidPartRole::data_block:
            return data_block_fields(part.bytes);
        case EdidPartRole::cta_timing:
            return timing_fields(0);
        default:
            break;
    }
    return {};
}

std::vector<EdidListItem> cta_list_items(const EdidPart& part) {
    std::vector<EdidListItem> items;
    if (part.role != EdidPartRole::data_block) return items;
    const std::string& b = part.bytes;
    switch (data_block_kind(b)) {
        case DataBlockKind::audio:
            for (int o = 1; o + 3 <= size_of(b); o += 3) {
                const int format = (part_byte(b, o) >> 3) & 0x0F;
                items.push_back({"SAD " + std::to_string(o / 3 + 1) + ": " +
                                     format_names[static_cast<std::size_t>(format)] + ", " +
                                     std::to_string((part_byte(b, o) & 7) + 1) + " ch",
                                 o, 3, sad_fields(b, o)});
            }
            break;
        case DataBlockKind::video:
        case DataBlockKind::y420_video: {
            const int first = data_block_kind(b) == DataBlockKind::video ? 1 : 2;
            for (int o = first; o < size_of(b); ++o) {
                const Svd s = svd_decode(part_byte(b, o));
                items.push_back({vic_label(s.vic) + (s.native ? " (native)" : ""), o, 1, {}});
            }
            break;
        }
        default:
            break;
    }
    return items;
}

}  // namespace t27
