#pragma once
// EDID images for the EDID tab's tests, built field by field so each
// expectation can be read off the bytes (see tests/edid/edid_image.h).
#include <string>
#include <vector>

#include "tests/edid/edid_image.h"

namespace t27::testing {

using test::data_block;
using test::EdidImage;

// Manufacturer "TVX": T=20, V=22, X=24 packed 5 bits each into bytes 8-9.
inline constexpr int tvx_byte8 = 0x52;
inline constexpr int tvx_byte9 = 0xD8;

// A block 0: header, "TVX", product 0x1234, digital (byte 20 bit 7),
// 1920x1080 at 148.5 MHz in descriptor 1, "BENCH MONITOR" in descriptor 2.
inline EdidImage base_image(int blocks, bool digital = true) {
    EdidImage img(blocks);
    img.set(8, {tvx_byte8, tvx_byte9, 0x34, 0x12});
    img.set(18, {1, 3});
    img.set(20, digital ? 0x80 : 0x0F);
    img.timing(1, 14850, 1920, 280, 1080, 45);
    img.name(2, "BENCH MONITOR");
    img.display(3, 0x10);
    img.display(4, 0x10);
    return img;
}

// The HDMI vendor block: OUI 00-0C-03 (sent low byte first), address 1.0.0.0.
inline std::vector<int> hdmi_vsdb() { return data_block(3, {0x03, 0x0C, 0x00, 0x10, 0x00}); }

// Two blocks: base block and a CEA-861 extension with the HDMI vendor block.
inline EdidImage hdmi_two_blocks() {
    EdidImage img = base_image(2);
    img.cea(1, {hdmi_vsdb()});
    img.fix_checksums();
    return img;
}

// Three or four blocks: a block map in block 1 naming CEA-861 blocks after it.
inline EdidImage hdmi_with_block_map(int blocks) {
    EdidImage img = base_image(blocks);
    img.set(128, 0xF0);
    for (int b = 2; b < blocks; ++b) {
        img.set(128 + b - 1, 0x02);
        img.cea(b, {hdmi_vsdb()});
    }
    img.fix_checksums();
    return img;
}

inline std::vector<std::uint8_t> as_vector(const std::string& bytes) {
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

// The window text split at CR LF (the part after the last CR LF dropped).
inline std::vector<std::string> text_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    for (std::size_t e = text.find("\r\n"); e != std::string::npos; e = text.find("\r\n", at)) {
        lines.push_back(text.substr(at, e - at));
        at = e + 2;
    }
    return lines;
}

inline int block_sum_checksum(const EdidImage& img, int block) {
    int sum = 0;
    for (int i = 0; i < 127; ++i) sum += img.get(128 * block + i);
    return (256 - sum % 256) % 256;
}

}  // namespace t27::testing
