#pragma once
// CEA-861 extension blocks: where their data blocks sit, the two vendor blocks
// that matter to HDMI, and the findings the report and the check draw on.
#include <array>
#include <vector>

#include "edid/edid_buffer.h"

namespace t27 {

// Entries of the data block index.
enum CeaEntry : int {
    cea_audio = 0,
    cea_video = 1,
    cea_vendor_first = 2,
    cea_speaker = 3,
    cea_video_capability = 4,
    cea_colorimetry = 5,
    cea_vendor_second = 6,
    cea_hdr_static = 7,
    cea_y420_video = 8,
    cea_y420_capability_map = 9,
    cea_format_preference = 10,
    cea_other = 11,
};
inline constexpr int cea_entry_count = 12;

struct CeaDataBlockIndex {
    // False when the block has no data block collection (byte 2 is 0 or 4);
    // every entry is then 254.
    bool has_collection = false;
    // Absolute index into `data` of each kind's header byte; 0 when not found.
    std::array<int, cea_entry_count> entry{};

    bool found(int e) const { return has_collection && entry[static_cast<std::size_t>(e)] != 0; }
    int at(int e) const { return entry[static_cast<std::size_t>(e)]; }
};

// Walks the data block collection of block `block` (1-3). Blocks whose length
// runs past the collection are followed as their header says, but nothing is
// read outside the buffer.
CeaDataBlockIndex cea_collect_data_blocks(const EdidBuffer& buf, int block);

// Payload length of the data block whose header byte is at `header`.
int cea_block_length(const EdidBuffer& buf, int header);

// Byte k of the data block at `header` (byte 0 is the header itself), or -1
// when the block is too short to have it: the byte after a block belongs to
// the next one.
int cea_block_byte(const EdidBuffer& buf, int header, int k);

struct CeaVendorBlocks {
    CeaDataBlockIndex index;
    int hdmi = edid_none;  // cea_vendor_first / cea_vendor_second, or 254
    int hf = edid_none;
    // HDMI vendor block fields; the offset is 254 unless HDMI video is present.
    int hdmi_3d_offset = edid_none;
    bool hdmi_3d_present = false;
    int hdmi_vic_length = 0;
    std::vector<int> hdmi_vics;

    int hdmi_header() const { return hdmi == edid_none ? 0 : index.at(hdmi); }
    int hf_header() const { return hf == edid_none ? 0 : index.at(hf); }
};

// True when the vendor block at `header` carries the 3-byte IEEE OUI given
// least significant byte first.
bool cea_vendor_oui_is(const EdidBuffer& buf, int header, const std::array<int, 3>& oui);
inline constexpr std::array<int, 3> oui_hdmi = {0x03, 0x0C, 0x00};
inline constexpr std::array<int, 3> oui_hdmi_forum = {0xD8, 0x5D, 0xC4};

CeaVendorBlocks cea_vendor_blocks_find(const EdidBuffer& buf, int block);

// Flag sets: 0x80 when the block is absent, else findings in bits 2, 1, 0.
inline constexpr int cea_flags_absent = 0x80;
int cea_audio_flags(const EdidBuffer& buf, const CeaDataBlockIndex& index);  // HBR, bitstream, LPCM
int cea_hdmi14_flags(const EdidBuffer& buf, const CeaVendorBlocks& vendor);  // deep colour, 3D, 4K
int cea_hf_flags(const EdidBuffer& buf, const CeaVendorBlocks& vendor);  // 340 MHz, SCDC, Y420 DC

// The VIC a short video descriptor names, and whether it is marked native.
struct Svd {
    int vic = 0;
    bool native = false;
};
Svd svd_decode(int byte);
// The descriptor byte for a VIC; VICs 1-64 may carry the native flag.
int svd_encode(int vic, bool native);

// VIC of the first short video descriptor, -1 when there is no video data
// block or it holds no descriptor.
int cea_first_vic(const EdidBuffer& buf, const CeaDataBlockIndex& index);

}  // namespace t27
