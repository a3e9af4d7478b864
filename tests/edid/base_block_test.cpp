#include "edid/base_block.h"

#include <gtest/gtest.h>

#include "edid/edid_check.h"
#include "edid_image.h"

namespace t27 {
namespace {

using test::EdidImage;

TEST(BaseBlock, ManufacturerLettersAndProductCode) {
    EdidImage img(1);
    img.set(8, {0x4C, 0x2D, 0x34, 0x12});
    const EdidBuffer buf = img.buffer();
    const std::string letters = edid_manufacturer_letters(buf);
    ASSERT_EQ(letters.size(), 3u);
    EXPECT_EQ(letters[0], 83);
    EXPECT_EQ(letters[1], 65);
    EXPECT_EQ(letters[2], 77);
    EXPECT_EQ(edid_product_code(buf), 0x1234);

    // "DEL": D=4, E=5, L=12 -> 00100 00101 01100 -> 0x10AC
    img.set(8, {0x10, 0xAC});
    EXPECT_EQ(edid_manufacturer_letters(img.buffer()), "DEL");
}

TEST(BaseBlock, DescriptorKinds) {
    EdidImage img(1);
    img.range_limits(1, 15).display(2, 0xFA).name(3, "X").display(4, 0x10);
    const auto table = edid_descriptor_table(img.buffer());
    ASSERT_EQ(table.size(), 5u);
    EXPECT_EQ(table[0].kind, 0xFD);
    EXPECT_EQ(table[1].kind, 250);
    EXPECT_EQ(table[2].kind, 225);
    EXPECT_EQ(table[2].number, 2);
    EXPECT_EQ(table[3].kind, 0xFC);
    EXPECT_EQ(table[3].number, 3);
    EXPECT_EQ(table[4].kind, 226);

    // Only bytes 0 and 1 decide a detailed timing: byte 3 is then its blanking.
    img.timing(4, 1, 0, 0xFC, 0, 0);
    EXPECT_EQ(edid_descriptor_table(img.buffer())[4].kind, 224);
    for (int tag : {0xFF, 0xFE, 0xF7}) {
        img.display(1, tag);
        EXPECT_EQ(edid_descriptor_table(img.buffer())[0].kind, tag);
    }
}

TEST(BaseBlock, FirstDetailedTimingMayFollowOtherDescriptors) {
    EdidImage img(1);
    img.range_limits(1, 15)
        .timing(2, 10800, 1280, 408, 1024, 42)
        .timing(3, 2517, 640, 160, 480, 45);
    EdidBuffer buf = img.buffer();
    edid_decode_base_block(buf);
    ASSERT_TRUE(buf.has_first_timing);
    EXPECT_EQ(buf.h_active, 1280);
    EXPECT_EQ(buf.v_active, 1024);
    EXPECT_EQ(buf.pixel_clock, 10800);
    EXPECT_EQ(edid_native_text(buf), "1280x1024p");
    // 108 MHz / (1688 * 1066) = 60.0197...
    EXPECT_EQ(edid_rate_text(buf.refresh_rate), "60.020");
}

TEST(BaseBlock, TimingAfterAStandardTimingDescriptorIsFound) {
    EdidImage img(1);
    img.display(1, 0xFA).display(2, 0xFE).display(3, 0xFF).timing(4, 14850, 1920, 280, 1080, 45);
    EdidBuffer buf = img.buffer();
    edid_decode_base_block(buf);
    EXPECT_TRUE(buf.has_first_timing);
    EXPECT_EQ(edid_native_text(buf), "1920x1080p");
}

TEST(BaseBlock, InterlacedTimingGivesTheFieldRate) {
    // 1080i: 74.25 MHz, 1920 + 280 = 2200 wide, 540 + 22 = 562 lines a field.
    EdidImage img(1);
    img.timing(1, 7425, 1920, 280, 540, 22, true);
    EdidBuffer buf = img.buffer();
    edid_decode_base_block(buf);
    EXPECT_TRUE(buf.interlaced);
    EXPECT_EQ(edid_native_text(buf), "1920x1080i");
    EXPECT_EQ(edid_rate_text(buf.refresh_rate), "60.000");
}

TEST(BaseBlock, WideFieldsUseTheHighNibbles) {
    // 3840 = 0xF00 and 2160 = 0x870: the high nibbles live in bytes 4 and 7.
    EdidImage img(1);
    img.timing(1, 59400, 3840, 560, 2160, 90);
    EdidBuffer buf = img.buffer();
    edid_decode_base_block(buf);
    EXPECT_EQ(edid_native_text(buf), "3840x2160p");
    // 594 MHz / (4400 * 2250) = 60
    EXPECT_EQ(edid_rate_text(buf.refresh_rate), "60.000");
}

TEST(BaseBlock, NoDetailedTimingAndZeroTotals) {
    EdidImage img(1);
    img.display(1, 0xFC).display(2, 0xFD).display(3, 0xFE).display(4, 0xFF);
    EdidBuffer buf = img.buffer();
    edid_decode_base_block(buf);
    EXPECT_FALSE(buf.has_first_timing);
    EXPECT_EQ(edid_native_text(buf), "");

    // A timing of zero size must not divide by zero.
    img.timing(1, 100, 0, 0, 0, 0);
    buf = img.buffer();
    edid_decode_base_block(buf);
    EXPECT_TRUE(buf.has_first_timing);
    EXPECT_EQ(buf.refresh_rate, 0.0f);
    EXPECT_EQ(edid_rate_text(buf.refresh_rate), ".000");
}

TEST(BaseBlock, RateText) {
    EXPECT_EQ(edid_rate_text(59.94f), "59.940");
    EXPECT_EQ(edid_rate_text(23.976f), "23.976");
    EXPECT_EQ(edid_rate_text(120.0f), "120.000");
    EXPECT_EQ(edid_rate_text(0.5f), ".500");
    EXPECT_EQ(edid_rate_text(59.9996f), "60.000");
}

TEST(BaseBlock, MonitorName) {
    EdidImage img(1);
    // 13 characters without 0x0A, and nothing of the next descriptor.
    img.name(1, "ABCDEFGHIJKLM").display(2, 0xFE, {'Z', 'Z'});
    EXPECT_EQ(edid_monitor_name(img.buffer()), "ABCDEFGHIJKLM");

    // Several name descriptors are appended in order; 0x00 ends one too.
    img.name(3, "NOP");
    img.display(4, 0xFC, {'Q', 'R', 0x00, 'S'});
    EXPECT_EQ(edid_monitor_name(img.buffer()), "ABCDEFGHIJKLMNOPQR");

    // A detailed timing whose byte 3 is 0xFC is not a name.
    EdidImage t(1);
    t.timing(1, 14850, 1920, 0xFC, 1080, 45);
    EXPECT_EQ(edid_monitor_name(t.buffer()), "");
}

}  // namespace
}  // namespace t27
