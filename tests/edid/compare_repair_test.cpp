#include <gtest/gtest.h>

#include "edid/check_labels.h"
#include "edid/checksum_repair.h"
#include "edid/edid_check.h"
#include "edid/edid_compare.h"
#include "edid/edid_files.h"
#include "edid/hex_text.h"
#include "edid_image.h"

namespace t27 {
namespace {

using test::EdidImage;

EdidImage sample(int blocks) {
    EdidImage img(blocks);
    for (int i = 8; i < 128 * blocks; ++i) img.set(i, (i * 11) & 0xFF);
    img.set(126, blocks - 1).fix_checksums();
    return img;
}

std::string text_of(const EdidImage& img, EdidSeparatorRule rule) {
    return edid_text_format(img.bytes(), 0, rule);
}

TEST(EdidCompare, IdenticalImagesMatch) {
    const EdidImage img = sample(2);
    const EdidCompare r =
        edid_compare(text_of(img, EdidSeparatorRule::before_further_blocks), img.buffer(),
                     text_of(img, EdidSeparatorRule::after_every_block), img.buffer());
    EXPECT_TRUE(r.error.empty());
    EXPECT_TRUE(r.differing.empty());
    EXPECT_EQ(r.msg1, "Match");
    EXPECT_EQ(r.msg2, " entirely.");
    EXPECT_EQ(r.colour, 0x8000u);
}

TEST(EdidCompare, OffsetsPointAtTheDigitsInBothLayouts) {
    const EdidImage a = sample(2);
    EdidImage b = a;
    b.set(200, a.get(200) ^ 0xFF).set(5, a.get(5) ^ 0x01);
    const std::string read_text = text_of(a, EdidSeparatorRule::before_further_blocks);
    const std::string write_text = text_of(b, EdidSeparatorRule::after_every_block);
    const EdidCompare r = edid_compare(read_text, a.buffer(), write_text, b.buffer());
    EXPECT_EQ(r.differing, (std::vector<int>{5, 200}));
    ASSERT_EQ(r.offsets.size(), 2u);
    EXPECT_EQ(r.offsets[0], 15u);
    EXPECT_EQ(r.offsets[1], static_cast<std::size_t>(3 * 200 + 7 * 25 + 31));
    EXPECT_EQ(r.msg1, "2 wrong");
    EXPECT_EQ(r.msg2, " data !");
    EXPECT_EQ(r.colour, 192u);
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", b.get(200));
    EXPECT_EQ(write_text.substr(r.offsets[1], 2), digits);
    std::snprintf(digits, sizeof digits, "%02X", a.get(200));
    EXPECT_EQ(read_text.substr(r.offsets[1], 2), digits);
    // Every byte's offset lands on its own digits.
    for (int p = 0; p < 256; ++p) {
        std::snprintf(digits, sizeof digits, "%02X", a.get(p));
        ASSERT_EQ(read_text.substr(edid_text_offset(p), 2), digits) << p;
    }
}

TEST(EdidCompare, OnlyBlocksZeroAndOneAndEmptyWindows) {
    const EdidImage a = sample(3);
    EdidImage b = a;
    b.set(300, a.get(300) + 1);
    const std::string t = text_of(a, EdidSeparatorRule::after_every_block);
    EXPECT_EQ(edid_compare(t, a.buffer(), t, b.buffer()).msg1, "Match");
    const EdidCompare empty = edid_compare("", a.buffer(), t, b.buffer());
    EXPECT_EQ(empty.error, "READ or WRITE data is empty!");
    EXPECT_TRUE(empty.msg1.empty());

    // One base block as a .ddc dump (block 1 shown as FF) and as a .bin file
    // (block 1 left as zeros): the same image.
    const std::string base = sample(1).bytes();
    const EdidLoad ddc = edid_read_ddc(std::string(128, '\x5A') + base);
    const EdidLoad bin = edid_read_bin(base);
    ASSERT_TRUE(ddc.ok() && bin.ok());
    EXPECT_EQ(edid_compare(ddc.text, ddc.buffer, bin.text, bin.buffer).msg1, "Match");
}

TEST(ChecksumRepair, BlockZero) {
    EdidImage img = sample(1);
    const int right = img.get(127);
    img.set(127, right ^ 0x5A);
    EdidBuffer buf = img.buffer();
    edid_check_in_place(buf);
    ASSERT_TRUE(checksum_labels_show(buf)[0].recover_visible);
    std::string text = edid_text_format(img.bytes(), 0, EdidSeparatorRule::after_every_block);
    const std::string before = text;

    const ChecksumRepair r = edid_checksum_repair(buf, text, 0);
    EXPECT_EQ(buf.data[127], right);
    EXPECT_TRUE(r.text_changed);
    char label[32];
    std::snprintf(label, sizeof label, "BK0=%Xh fixed", right);
    EXPECT_EQ(r.label, label);
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02X", right);
    // Line 16 (index 15) ends with byte 127: its last pair is at column 21.
    EXPECT_EQ(text.substr(15 * 31 + 21, 8), std::string(pair) + " //7F ");
    // Nothing else changed.
    EXPECT_EQ(text.substr(0, 15 * 31 + 21), before.substr(0, 15 * 31 + 21));
    EXPECT_EQ(text.substr(15 * 31 + 23), before.substr(15 * 31 + 23));
    // The repaired image now passes.
    edid_check_in_place(buf);
    EXPECT_NE(buf.type_code, edid_type_invalid);
}

TEST(ChecksumRepair, BlockOneOfFourLeavesTheOtherBlocks) {
    EdidImage img = sample(4);
    img.set(255, img.get(255) + 1);
    EdidBuffer buf = img.buffer();
    edid_check_in_place(buf);
    ASSERT_EQ(buf.type_detail, edid_error_checksum);
    std::string text = edid_text_format(img.bytes(), 0, EdidSeparatorRule::after_every_block);
    const std::string before = text;
    const ChecksumRepair r = edid_checksum_repair(buf, text, 1);
    EXPECT_TRUE(r.text_changed);
    // Block 1's last line is line 33 (after 16 lines and a separator).
    const std::size_t at = 32 * 31 + 21;
    EXPECT_EQ(text.substr(0, at), before.substr(0, at));
    EXPECT_EQ(text.substr(at + 2), before.substr(at + 2));
    EXPECT_EQ(text.substr(at + 3, 5), "//FF ");
    EdidBuffer again = buf;
    edid_check_in_place(again);
    EXPECT_NE(again.type_code, edid_type_invalid);

    // With block 3 wrong too, repairing block 1 touches only block 1's pair.
    img.set(511, img.get(511) + 1);
    buf = img.buffer();
    edid_check_in_place(buf);
    text = edid_text_format(img.bytes(), 0, EdidSeparatorRule::after_every_block);
    const std::string before3 = text;
    edid_checksum_repair(buf, text, 1);
    EXPECT_EQ(text, before3.substr(0, at) + text.substr(at, 2) + before3.substr(at + 2));
}

}  // namespace
}  // namespace t27
