#include "edid/cea_report.h"

#include <array>

#include "edid/cea_blocks.h"
#include "edid/vic_names.h"

namespace t27 {

namespace {

const char* const eol = "\r\n";

struct FlagLine {
    const char* caption;
    int bit;
};
using FlagLines = std::array<FlagLine, 3>;

// Audio lists its findings from bit 0 up, the vendor blocks from bit 2 down.
constexpr FlagLines audio_lines = {
    {{" LPCM = ", 1}, {" Bitstream = ", 2}, {" High Bit Rate = ", 4}}};
constexpr FlagLines hdmi14_lines = {{{" Deepcolor = ", 4}, {" 3D = ", 2}, {" 4K3G = ", 1}}};
constexpr FlagLines hf_lines = {
    {{" 340MHz above = ", 4}, {" SCDC = ", 2}, {" Y420 Deepcolor = ", 1}}};

void flag_lines(std::string& out, int flags, const FlagLines& lines) {
    for (const FlagLine& l : lines) {
        out += std::string(l.caption) + ((flags & l.bit) != 0 ? " Yes" : " No") + eol;
    }
}

}  // namespace

std::string cea_report_section(const EdidBuffer& buf, int block) {
    const CeaVendorBlocks vendor = cea_vendor_blocks_find(buf, block);
    const CeaDataBlockIndex& index = vendor.index;
    std::string out;
    if (!index.has_collection) return std::string(" No data-block-collection.") + eol;

    if (index.found(cea_video)) {
        const int vic = cea_first_vic(buf, index);
        out += " First VIC = " + (vic < 0 ? std::string() : vic_name(vic)) + eol;
    } else {
        out += std::string(" No video-data-block.") + eol;
    }

    out += std::string(eol) + " ----- Audio Format:" + eol;
    const int audio = cea_audio_flags(buf, index);
    if (audio == cea_flags_absent) {
        out += std::string(" No audio-data-block.") + eol;
    } else {
        flag_lines(out, audio, audio_lines);
    }
    out += std::string(eol) + " ----- v1.4b VSDB:" + eol;
    const int h14 = cea_hdmi14_flags(buf, vendor);
    if (h14 == cea_flags_absent) {
        out += std::string(" No H1.4b VSDB.") + eol;
    } else {
        flag_lines(out, h14, hdmi14_lines);
    }

    out += std::string(eol) + " ----- HF VSDB:" + eol;
    const int hf = cea_hf_flags(buf, vendor);
    if (hf == cea_flags_absent) {
        out += std::string(" No HF VSDB.") + eol;
    } else {
        flag_lines(out, hf, hf_lines);
    }

    out += std::string(eol) + " ----- Others:" + eol;
    out += std::string(" HDR = ") + (index.found(cea_hdr_static) ? "Yes" : "No") + eol;
    const bool y420 = index.found(cea_y420_video) || index.found(cea_y420_capability_map);
    out += std::string(" Y420 = ") + (y420 ? "Yes" : "No") + eol;
    return out;
}

}  // namespace t27
