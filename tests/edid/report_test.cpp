#include <gtest/gtest.h>

#include <algorithm>

#include "edid/analysis_report.h"
#include "edid/analysis_tree.h"
#include "edid/edid_check.h"
#include "edid_image.h"

namespace t27 {
namespace {

using test::data_block;
using test::EdidImage;

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, at - start));
        start = at + 2;
    }
    EXPECT_EQ(start, text.size()) << "every line ends with CR LF";
    return lines;
}

EdidBuffer checked(const EdidImage& img) {
    EdidBuffer buf = img.buffer();
    edid_check_in_place(buf);
    return buf;
}

// Base block used by the report tests: "SAM" 0x1234, 1080p60, name "T27 TEST".
EdidImage base(int blocks) {
    EdidImage img(blocks);
    img.set(8, {0x4C, 0x2D, 0x34, 0x12}).set(20, 0x80);
    img.timing(1, 14850, 1920, 280, 1080, 45).range_limits(2, 15).name(3, "T27 TEST");
    return img;
}

TEST(Report, OneBlockEdid) {
    EdidImage img = base(1);
    img.fix_checksums();
    const EdidBuffer buf = checked(img);
    const auto lines = lines_of(edid_report_text(buf));
    ASSERT_EQ(lines.size(), 1u + 1 + 1 + 16 + 1 + 4);
    EXPECT_EQ(lines[0], "EDID Type = DVI , Total 1 blocks");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "============================== Block 0: VESA BASE EDID");
    EXPECT_EQ(lines[3], " 00 FF FF FF FF FF FF 00 //7");
    EXPECT_EQ(lines[4], " 4C 2D 34 12 00 00 00 00 //F");
    EXPECT_EQ(lines[5], " 00 00 00 00 80 00 00 00 //17");
    EXPECT_EQ(lines[18].substr(25), "//7F");
    EXPECT_EQ(lines[19], "");
    EXPECT_EQ(lines[20], " Manufacturer Name = SAM");
    EXPECT_EQ(lines[21], " Product Code = 4660 (1234 h)");
    EXPECT_EQ(lines[22], " Monitor Name = T27 TEST");
    EXPECT_EQ(lines[23], " First Detailed Timing = 1920x1080p60.000");

    const auto nodes = edid_tree_nodes(buf);
    ASSERT_EQ(nodes.size(), 13u);
    EXPECT_EQ(nodes[2].key, "block1_root_false");
    EXPECT_EQ(nodes[2].caption, "Block 1 : Unknown Block Tag");  // byte 128 is past the image
}

TEST(Report, TreeNodes) {
    EdidImage img = base(2);
    img.set(126, 0).fix_checksums().fill(128, 256, 0xFF);
    EdidBuffer buf = img.buffer();
    edid_write_side_size_fix(buf);
    edid_check_in_place(buf);
    ASSERT_EQ(buf.size, 128);
    ASSERT_EQ(buf.type_code, edid_type_dvi);
    const auto nodes = edid_tree_nodes(buf);
    ASSERT_EQ(nodes.size(), 13u);
    struct Row {
        const char* key;
        const char* caption;
        int parent;
    };
    const Row rows[13] = {
        {"summary", "Summary :", 0},
        {"block0_root_true", "Block 0 : VESA Basic Block", 0},
        {"block1_root_false", "Block 1 : Manufacturer Def.", 0},
        {"block0_binary", "Binary List", 2},
        {"block0_vendor", "Vendor/Product Id", 2},
        {"block0_basic", "Basic Display Parameters", 2},
        {"block0_color", "Color Characteristics", 2},
        {"block0_established", "Established Timings", 2},
        {"block0_standard", "Standard Timings", 2},
        {"block0_standard1", "Standard Timings 1,2,3", 9},
        {"block0_standard2", "Standard Timings 4,5,6", 9},
        {"block0_standard3", "Standard Timings 7,8", 9},
        {"block0_dt_mon", "Detail Timings/Monitor Descriptors", 2},
    };
    for (int i = 0; i < 13; ++i) {
        EXPECT_EQ(nodes[static_cast<std::size_t>(i)].index, i + 1);
        EXPECT_EQ(nodes[static_cast<std::size_t>(i)].key, rows[i].key);
        EXPECT_EQ(nodes[static_cast<std::size_t>(i)].caption, rows[i].caption);
        EXPECT_EQ(nodes[static_cast<std::size_t>(i)].parent, rows[i].parent);
        EXPECT_EQ(nodes[static_cast<std::size_t>(i)].expanded, i == 1 || i == 2);
    }
    // One block: no block 1 dump, no CEA section.
    const std::string report = edid_report_text(buf);
    EXPECT_EQ(report.find("Block 1"), std::string::npos);
    EXPECT_EQ(report.find("-----"), std::string::npos);
    EXPECT_EQ(report.substr(0, 34), "EDID Type = DVI , Total 1 blocks\r\n");
}

TEST(Report, BadHeader) {
    EdidImage img = base(2);
    img.set(0, 0x01).cea(1, {data_block(2, {0x90})}).fix_checksums();
    const EdidBuffer buf = checked(img);
    const auto lines = lines_of(edid_report_text(buf));
    EXPECT_EQ(lines[0], ">>>>> ! Block0 has bad header.");
    EXPECT_EQ(lines[1], "Total 2 blocks");
    EXPECT_EQ(lines[4], " 01 FF FF FF FF FF FF 00 //7");
    EXPECT_EQ(lines[21], " Manufacturer Name = SAM");
    const auto nodes = edid_tree_nodes(buf);
    ASSERT_EQ(nodes.size(), 1u);
    EXPECT_EQ(nodes[0].key, "summary");
    EXPECT_EQ(nodes[0].caption, "Summary :");
}

TEST(Report, BadSizeIsTheOnlyLine) {
    EdidImage img = base(2);
    img.set(126, 4).fix_checksums();
    EXPECT_EQ(edid_report_text(checked(img)), ">>>>> ! Block0 has bad size.\r\n");
}

TEST(Report, BadChecksumLines) {
    EdidImage img = base(2);
    img.cea(1, {data_block(2, {0x90})}).fix_checksums();
    const int right0 = img.get(127);
    img.set(127, right0 + 1).set(255, 0x00);
    // Block 1's bytes: 02 03 06 00 41 90, so its checksum is 256 - 0xDC = 0x24.
    const auto lines = lines_of(edid_report_text(checked(img)));
    EXPECT_EQ(lines[0], "Total 2 blocks");
    char expected[64];
    std::snprintf(expected, sizeof expected, ">>>>> ! Bad Checksum, should be %X", right0);
    EXPECT_EQ(lines[19], expected);
    EXPECT_EQ(lines[25], "");
    EXPECT_EQ(lines[26], "============================== Block 1: CEA 861 Block");
    EXPECT_EQ(lines[27], " 02 03 06 00 41 90 00 00 //87");
    EXPECT_EQ(lines[42], " 00 00 00 00 00 00 00 00 //FF");
    EXPECT_EQ(lines[43], ">>>>> ! Bad Checksum, should be 24");
    EXPECT_EQ(lines[44], "");
    EXPECT_EQ(lines[45], " First VIC = 1920x1080p 59/60 16:9");
}

TEST(Report, FourBlocksWithABlockMap) {
    EdidImage img = base(4);
    img.set(128, {0xF0, 0x02, 0x40});
    img.cea(2, {data_block(3, {0x03, 0x0C, 0x00, 0x10, 0x00})});
    img.set(384, 0x40);
    img.fix_checksums();
    const EdidBuffer buf = checked(img);
    const auto lines = lines_of(edid_report_text(buf));
    EXPECT_EQ(lines[0], "EDID Type = HDMI HD , Total 4 blocks");
    EXPECT_EQ(lines[25], "============================== Block 1: Block Map");
    EXPECT_EQ(lines[26], " F0 02 40 00 00 00 00 00 //87");
    EXPECT_EQ(lines[42], "");
    EXPECT_EQ(lines[43], " Block 2= CEA 861 Block");
    EXPECT_EQ(lines[44], " Block 3= Display Information (DI)");
    EXPECT_EQ(lines[45], "");
    EXPECT_EQ(lines[46], "============================== Block 2: CEA 861 Block");
    EXPECT_EQ(lines[47], " 02 03 0A 00 65 03 0C 00 //107");
    EXPECT_EQ(lines[63], "");
    EXPECT_EQ(lines[64], " No video-data-block.");
    // Block 3 follows the CEA section of block 2, and is not CEA.
    const std::size_t b3 =
        std::find(lines.begin(), lines.end(),
                  "============================== Block 3: Display Information (DI)") -
        lines.begin();
    ASSERT_LT(b3, lines.size());
    EXPECT_EQ(lines[b3 - 1], "");
    EXPECT_EQ(lines[b3 - 2], " Y420 = No");
    EXPECT_EQ(lines[b3 + 1], " 40 00 00 00 00 00 00 00 //187");
    EXPECT_EQ(lines.back(), "");
    EXPECT_EQ(lines.size(), b3 + 18);
}

TEST(Report, ReportFile) {
    EXPECT_EQ(edid_report_file_text("A\r\n", "10:11:12", "07/12/2026", "T27", "1.02"),
              "EDID Analysis Report 10:11:12 07/12/2026\r\n"
              "Model: T27 , 1.02 , AP: 2.18T\r\n\r\n"
              "A\r\n\r\nEND.\r\n");
}

}  // namespace
}  // namespace t27
