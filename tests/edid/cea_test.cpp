#include <gtest/gtest.h>

#include "edid/cea_blocks.h"
#include "edid/cea_report.h"
#include "edid/tag_names.h"
#include "edid/vic_names.h"
#include "edid_image.h"

namespace t27 {
namespace {

using test::data_block;
using test::EdidImage;
using test::extended_block;

const std::vector<int> hdmi_vsdb = {0x03, 0x0C, 0x00, 0x10, 0x00};
const std::vector<int> hf_vsdb = {0xD8, 0x5D, 0xC4, 0x01, 0x78, 0x80};

// The lines of a CEA section, CR LF removed.
std::vector<std::string> section_lines(const EdidImage& img, int block) {
    const std::string text = cea_report_section(img.buffer(), block);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, at - start));
        start = at + 2;
    }
    EXPECT_EQ(start, text.size());
    return lines;
}

TEST(CeaCollect, EveryKindLandsInItsEntry) {
    EdidImage img(2);
    img.cea(1, {data_block(1, {0x09, 0x07, 0x07}),  // 132
                data_block(2, {0x90, 0x04}),        // 136
                data_block(3, hdmi_vsdb),           // 139
                data_block(4, {0x01, 0x00, 0x00}),  // 145
                extended_block(0, {0x00}),          // 149
                extended_block(5, {0x01, 0x00}),    // 152
                data_block(3, hf_vsdb),             // 156
                extended_block(6, {0x07, 0x01}),    // 163
                extended_block(14, {0x10}),         // 167
                extended_block(15, {0x01}),         // 170
                extended_block(13, {0x10}),         // 173
                data_block(5, {0x00}),              // 176
                data_block(3, {0x01, 0x02, 0x03}),  // 178, third vendor block
                extended_block(1, {0x00})});        // 182, another "other"
    const CeaDataBlockIndex idx = cea_collect_data_blocks(img.buffer(), 1);
    ASSERT_TRUE(idx.has_collection);
    const int expected[12] = {132, 136, 139, 145, 149, 152, 156, 163, 167, 170, 173, 176};
    for (int e = 0; e < 12; ++e) EXPECT_EQ(idx.at(e), expected[e]) << "entry " << e;
}

TEST(CeaCollect, NoCollectionAndEmptyCollection) {
    for (int d : {0, 4}) {
        EdidImage img(2);
        img.set(128, {0x02, 0x03, d, 0x00});
        const CeaDataBlockIndex idx = cea_collect_data_blocks(img.buffer(), 1);
        EXPECT_FALSE(idx.has_collection);
        for (int e = 0; e < 12; ++e) EXPECT_EQ(idx.at(e), 254);
        EXPECT_EQ(section_lines(img, 1), std::vector<std::string>{" No data-block-collection."});
    }
    EdidImage img(2);
    img.set(128, {0x02, 0x03, 0x03, 0x00});
    const CeaDataBlockIndex idx = cea_collect_data_blocks(img.buffer(), 1);
    EXPECT_TRUE(idx.has_collection);
    for (int e = 0; e < 12; ++e) EXPECT_EQ(idx.at(e), 0);
}

TEST(CeaCollect, LengthsRunningPastTheEndStayInsideTheBuffer) {
    // Block 3 claims its collection runs to byte 255 of the block: past the
    // end of a 512-byte image. Every header is a vendor block of length 31.
    EdidImage img(4);
    img.set(384, {0x02, 0x03, 0xFF, 0x00});
    img.fill(388, 512, 0x7F);
    const CeaVendorBlocks v = cea_vendor_blocks_find(img.buffer(), 3);
    EXPECT_EQ(v.index.at(cea_vendor_first), 388);
    EXPECT_EQ(v.index.at(cea_vendor_second), 420);
    const std::string section = cea_report_section(img.buffer(), 3);
    EXPECT_NE(section.find(" No video-data-block."), std::string::npos);

    // A data block whose length runs past the collection ends the walk.
    EdidImage over(2);
    over.set(128, {0x02, 0x03, 0x08, 0x00}).set(132, {0x5F, 0x90});
    const CeaDataBlockIndex idx = cea_collect_data_blocks(over.buffer(), 1);
    EXPECT_EQ(idx.at(cea_video), 132);

    // The walk stops at the first detailed timing, whose first byte 30h
    // would read as an audio block header.
    EdidImage dtd(2);
    dtd.cea(1, {data_block(2, {0x90})}).set(128 + 6, {0x30, 0x2A});
    const CeaDataBlockIndex at_d = cea_collect_data_blocks(dtd.buffer(), 1);
    EXPECT_EQ(at_d.at(cea_video), 132);
    EXPECT_EQ(at_d.at(cea_audio), 0);
}

TEST(CeaVendor, PositionsAndHdmiFields) {
    // HF first and HDMI second: both found.
    EdidImage img(2);
    img.cea(1, {data_block(3, hf_vsdb), data_block(3, hdmi_vsdb)});
    CeaVendorBlocks v = cea_vendor_blocks_find(img.buffer(), 1);
    EXPECT_EQ(v.hf, cea_vendor_first);
    EXPECT_EQ(v.hdmi, cea_vendor_second);
    EXPECT_EQ(v.hdmi_3d_offset, 254);

    // Two HDMI blocks: the later one wins.
    img.cea(1, {data_block(3, hdmi_vsdb), data_block(3, hdmi_vsdb)});
    EXPECT_EQ(cea_vendor_blocks_find(img.buffer(), 1).hdmi, cea_vendor_second);

    // The OUI needs a block longer than 4.
    img.cea(1, {data_block(3, {0x03, 0x0C, 0x00, 0x10})});
    v = cea_vendor_blocks_find(img.buffer(), 1);
    EXPECT_EQ(v.hdmi, 254);
    EXPECT_EQ(cea_hdmi14_flags(img.buffer(), v), cea_flags_absent);

    // 3D offset by the latency bits of byte 8.
    struct Case {
        int b8;
        int offset;
    };
    for (const Case& c : {Case{0x20, 9}, Case{0xA0, 11}, Case{0xE0, 13}}) {
        std::vector<int> p = {0x03, 0x0C, 0x00, 0x10, 0x00, 0x00, 0x00, c.b8};
        p.resize(static_cast<std::size_t>(c.offset + 3), 0x00);
        p[static_cast<std::size_t>(c.offset - 1)] = 0x80;  // 3D present
        p[static_cast<std::size_t>(c.offset)] = 0x40;      // two HDMI VICs
        p[static_cast<std::size_t>(c.offset + 1)] = 0x05;
        p[static_cast<std::size_t>(c.offset + 2)] = 0x03;
        EdidImage h(2);
        h.cea(1, {data_block(3, p)});
        v = cea_vendor_blocks_find(h.buffer(), 1);
        EXPECT_EQ(v.hdmi_3d_offset, c.offset);
        EXPECT_TRUE(v.hdmi_3d_present);
        EXPECT_EQ(v.hdmi_vic_length, 2);
        EXPECT_EQ(v.hdmi_vics, (std::vector<int>{5, 3}));
        EXPECT_EQ(cea_hdmi14_flags(h.buffer(), v), 0x03);
    }
}

TEST(CeaFlags, Audio) {
    struct Case {
        std::vector<int> codes;
        int flags;
    };
    const Case cases[] = {
        {{1, 2}, 0x03},                    // LPCM + AC-3
        {{1}, 0x01},        {{7}, 0x02},   // DTS
        {{10}, 0x04},                      // E-AC-3
        {{0}, 0x04},        {{15}, 0x00},  // extended: none of the three
        {{14, 8, 1}, 0x07},
    };
    for (const Case& c : cases) {
        std::vector<int> sads;
        for (int code : c.codes) {
            sads.insert(sads.end(), {(code << 3) | 0x01, 0x07, 0x07});
        }
        EdidImage img(2);
        img.cea(1, {data_block(1, sads)});
        EXPECT_EQ(cea_audio_flags(img.buffer(), cea_collect_data_blocks(img.buffer(), 1)), c.flags);
    }
    EdidImage none(2);
    none.cea(1, {data_block(2, {0x10})});
    EXPECT_EQ(cea_audio_flags(none.buffer(), cea_collect_data_blocks(none.buffer(), 1)),
              cea_flags_absent);
}

TEST(CeaFlags, HdmiAndHfBytesOnlyInsideTheirBlock) {
    // Deep colour bits 4-6 of byte 6; a length-5 block has no byte 6.
    EdidImage img(2);
    img.cea(1, {data_block(3, {0x03, 0x0C, 0x00, 0x10, 0x00, 0x30})});
    CeaVendorBlocks v = cea_vendor_blocks_find(img.buffer(), 1);
    EXPECT_EQ(cea_hdmi14_flags(img.buffer(), v), 0x04);
    img.cea(1,
            {data_block(3, hdmi_vsdb), data_block(2, {0x10})});  // its header 0x41 would be byte 6
    v = cea_vendor_blocks_find(img.buffer(), 1);
    EXPECT_EQ(cea_hdmi14_flags(img.buffer(), v), 0x00);

    // HDMI video present, but the 3D byte would be the next block's header.
    img.cea(1, {data_block(3, {0x03, 0x0C, 0x00, 0x10, 0x00, 0x00, 0x00, 0x20}),
                data_block(4, {0x01, 0x00, 0x00})});
    v = cea_vendor_blocks_find(img.buffer(), 1);
    EXPECT_EQ(v.hdmi_3d_offset, 9);
    EXPECT_FALSE(v.hdmi_3d_present);  // 0x83 is outside the block
    EXPECT_EQ(cea_hdmi14_flags(img.buffer(), v), 0x00);

    struct Case {
        std::vector<int> payload;
        int flags;
    };
    const Case cases[] = {
        {{0xD8, 0x5D, 0xC4, 0x01, 0x44}, 0x04},
        {{0xD8, 0x5D, 0xC4, 0x01, 0x43}, 0x00},
        {{0xD8, 0x5D, 0xC4, 0x01, 0x00, 0x80}, 0x02},
        {{0xD8, 0x5D, 0xC4, 0x01, 0x00, 0x00, 0x04}, 0x01},
        {{0xD8, 0x5D, 0xC4, 0x01, 0x00, 0x00, 0x08}, 0x00},
    };
    for (const Case& c : cases) {
        EdidImage hf(2);
        hf.cea(1, {data_block(3, c.payload), data_block(7, {0x06, 0xFF})});
        v = cea_vendor_blocks_find(hf.buffer(), 1);
        EXPECT_EQ(cea_hf_flags(hf.buffer(), v), c.flags);
    }
}

TEST(CeaSection, FullTextOfARichBlock) {
    EdidImage img(2);
    img.cea(1, {data_block(2, {0x90, 0x04}),
                data_block(1, {0x09, 0x07, 0x07, 0x15, 0x07, 0x50}),  // LPCM, AC-3
                data_block(3, hdmi_vsdb), data_block(3, {0xD8, 0x5D, 0xC4, 0x01, 0x44, 0x80, 0x01}),
                extended_block(6, {0x07, 0x01}), extended_block(15, {0x01})});
    const std::vector<std::string> expected = {
        " First VIC = 1920x1080p 59/60 16:9",
        "",
        " ----- Audio Format:",
        " LPCM =  Yes",
        " Bitstream =  Yes",
        " High Bit Rate =  No",
        "",
        " ----- v1.4b VSDB:",
        " Deepcolor =  No",
        " 3D =  No",
        " 4K3G =  No",
        "",
        " ----- HF VSDB:",
        " 340MHz above =  Yes",
        " SCDC =  Yes",
        " Y420 Deepcolor =  Yes",
        "",
        " ----- Others:",
        " HDR = Yes",
        " Y420 = Yes",
    };
    EXPECT_EQ(section_lines(img, 1), expected);
}

TEST(CeaSection, AbsentBlocks) {
    EdidImage img(2);
    img.cea(1, {data_block(4, {0x01, 0x00, 0x00})});
    const std::vector<std::string> expected = {
        " No video-data-block.",
        "",
        " ----- Audio Format:",
        " No audio-data-block.",
        "",
        " ----- v1.4b VSDB:",
        " No H1.4b VSDB.",
        "",
        " ----- HF VSDB:",
        " No HF VSDB.",
        "",
        " ----- Others:",
        " HDR = No",
        " Y420 = No",
    };
    EXPECT_EQ(section_lines(img, 1), expected);
}

TEST(CeaSection, FirstVicNames) {
    const struct {
        std::vector<std::vector<int>> blocks;
        std::string line;
    } cases[] = {
        {{data_block(2, {0x7F, 0x10})}, " First VIC = "},
        {{data_block(2, {0x84})}, " First VIC = 1280x720p  59/60 16:9"},
        {{data_block(2, {0xC1})}, " First VIC = "},  // VIC 193 itself, not VIC 65 marked native
        // The ends of the native range: 81h is VIC 1 and C0h VIC 64, both
        // native; 80h is no native code.
        {{data_block(2, {0xC0})}, " First VIC = " + vic_name(64)},
        {{data_block(2, {0x81})}, " First VIC = " + vic_name(1)},
        {{data_block(2, {0x80})}, " First VIC = "},
        {{data_block(2, {}), data_block(4, {0x01, 0x00, 0x00})},
         " First VIC = "},  // no descriptor to read
    };
    for (const auto& c : cases) {
        EdidImage img(2);
        img.cea(1, c.blocks);
        EXPECT_EQ(section_lines(img, 1)[0], c.line) << "first block " << c.blocks[0].back();
    }
}

TEST(VicNames, TableEntries) {
    EXPECT_EQ(vic_name(0), "No VIC Available");
    EXPECT_EQ(vic_name(1), " 640x480p  59/60  4:3");
    EXPECT_EQ(vic_name(16), "1920x1080p 59/60 16:9");
    EXPECT_EQ(vic_name(63), "1920x1080p 119.88/120  ");
    EXPECT_EQ(vic_name(98), "4096x2160p 23/24 256:135");
    EXPECT_EQ(vic_name(107), "3840x2160p 59/60 64:27 ");
    for (int v : {60, 61, 62, 63, 64, 93, 94, 95, 96, 97, 103, 104, 105, 106, 107}) {
        ASSERT_FALSE(vic_name(v).empty()) << v;
        EXPECT_EQ(vic_name(v).back(), ' ') << v;
    }
    for (int v = 1; v <= 107; ++v) EXPECT_FALSE(vic_name(v).empty()) << v;
    for (int v = 108; v <= 128; ++v) EXPECT_EQ(vic_name(v), "") << v;
    EXPECT_EQ(vic_name(129), "");
    EXPECT_EQ(vic_name(-1), "");
}

TEST(TagNames, Table) {
    EXPECT_EQ(extension_tag_name(0x02), "CEA 861 Block");
    EXPECT_EQ(extension_tag_name(0x10), "Video Timing Block (VTB)");
    EXPECT_EQ(extension_tag_name(0x40), "Display Information (DI)");
    EXPECT_EQ(extension_tag_name(0x50), "Localized String (LS)");
    EXPECT_EQ(extension_tag_name(0x60), "Digital Packet Video Link(DPVL)");
    EXPECT_EQ(extension_tag_name(0xF0), "Block Map");
    EXPECT_EQ(extension_tag_name(0xFF), "Manufacturer Def.");
    EXPECT_EQ(extension_tag_name(0x70), "Unknown Block Tag");
    EXPECT_EQ(extension_tag_name(0x00), "Unknown Block Tag");
}

}  // namespace
}  // namespace t27
