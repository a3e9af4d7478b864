#pragma once
// The EDID images the simulated unit holds: built from a short description so
// every image has correct checksums and a known shape.
#include <cstdint>
#include <string>
#include <vector>

namespace t27::sim {

using EdidBytes = std::vector<std::uint8_t>;

enum class NativeTiming { p1080_60, p720_60, p2160_30, p2160_60, xga_60 };

struct EdidRecipe {
    const char* manufacturer;  // three letters A-Z
    std::uint16_t product;
    const char* monitor_name;  // at most 13 characters
    NativeTiming native;
    bool digital;
    bool cea;            // a CEA-861 extension follows the base block
    bool hdmi;           // the extension carries the HDMI vendor block
    int max_tmds_mhz;    // above 340 adds the HDMI Forum vendor block
    int audio_channels;  // 0: no audio data block
    bool hdr;            // HDR static metadata block
    bool ycbcr420;       // 4:2:0-only 2160p60
    int blocks;          // 1 to 4; 3 and 4 put a block map in block 1
};

// A complete image of recipe.blocks × 128 bytes with valid checksums. A
// one-block image is padded to 256 bytes of which the second block reads
// 0xFF, as an erased EEPROM does.
EdidBytes build_edid(const EdidRecipe& recipe);

// Makes byte 127 of the block at `offset` the block's checksum.
void fix_checksum(EdidBytes& image, std::size_t offset);

}  // namespace t27::sim
