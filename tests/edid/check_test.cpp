#include <gtest/gtest.h>

#include "edid/check_labels.h"
#include "edid/edid_check.h"
#include "edid_image.h"

namespace t27 {
namespace {

using test::data_block;
using test::EdidImage;

constexpr int digital = 0x80;  // byte 20 bit 7

EdidBuffer checked(const EdidImage& img) {
    EdidBuffer buf = img.buffer();
    edid_check_in_place(buf);
    return buf;
}

// A two-block HDMI image: digital input, range limits of 150 MHz, and a CEA
// block whose only vendor block carries the HDMI OUI.
EdidImage hdmi_image(std::vector<int> vendor_payload = {0x03, 0x0C, 0x00, 0x10, 0x00}) {
    EdidImage img(2);
    img.set(20, digital).timing(1, 14850, 1920, 280, 1080, 45).range_limits(2, 15);
    img.cea(1, {data_block(2, {0x90}), data_block(3, vendor_payload)});
    return img;
}

TEST(EdidCheck, BlockCountAgainstSize) {
    // One block whose second block reads as all FF: the read takes it as 128 bytes.
    EdidImage two(2);
    two.set(126, 0).fix_checksums().fill(128, 256, 0xFF);
    EdidBuffer read = two.buffer();
    EXPECT_EQ(edid_read_size(read), 128);
    EdidBuffer write = two.buffer();
    edid_write_side_size_fix(write);
    EXPECT_EQ(write.size, 128);
    edid_check_in_place(write);
    EXPECT_EQ(write.block_count, 1);
    EXPECT_EQ(write.type_code, edid_type_analog);
    const auto labels = checksum_labels_show(write);
    EXPECT_NE(labels[0].caption.find('='), std::string::npos);
    EXPECT_EQ(labels[1].caption, "BK1");

    // Byte 126 = 5 is never a valid count.
    EdidImage five(4);
    five.set(126, 5).fix_checksums();
    const EdidBuffer bad = checked(five);
    EXPECT_EQ(bad.type_code, edid_type_invalid);
    EXPECT_EQ(bad.type_detail, edid_error_block_count);
    EXPECT_EQ(check_message_labels(bad).msg2, "Block No.");
    for (int b = 0; b < 4; ++b) {
        EXPECT_EQ(checksum_labels_show(bad)[static_cast<std::size_t>(b)].caption,
                  "BK" + std::to_string(b));
    }

    // The extension count promises three blocks but only two were stored.
    EdidImage short_one(2);
    short_one.set(126, 2).fix_checksums();
    EXPECT_EQ(checked(short_one).type_detail, edid_error_block_count);
}

TEST(EdidCheck, ReadSizeFollowsTheExtensionCount) {
    EdidImage img(4);
    img.set(126, 2);
    EXPECT_EQ(edid_read_size(img.buffer()), 384);
    img.set(126, 3);
    EXPECT_EQ(edid_read_size(img.buffer()), 512);
    img.set(126, 1);
    EXPECT_EQ(edid_read_size(img.buffer()), 256);
    img.set(126, 0);  // block 1 is zeros, not FF
    EXPECT_EQ(edid_read_size(img.buffer()), 256);
}

TEST(EdidCheck, WrongChecksumMarksThatBlock) {
    EdidImage img = hdmi_image();
    img.fix_checksums();
    const int right = img.get(255);
    img.set(255, right ^ 0x01);
    const EdidBuffer buf = checked(img);
    EXPECT_EQ(buf.type_code, edid_type_invalid);
    EXPECT_EQ(buf.type_detail, edid_error_checksum);
    EXPECT_EQ(buf.checksums[1], right);

    const MessageLabels msg = check_message_labels(buf);
    EXPECT_TRUE(msg.visible);
    EXPECT_EQ(msg.msg1, "Wrong ---");
    EXPECT_EQ(msg.msg2, "Checksum");
    EXPECT_EQ(msg.colour, 192u);

    const auto labels = checksum_labels_show(buf);
    EXPECT_EQ(labels[0].colour, 0u);
    EXPECT_FALSE(labels[0].recover_visible);
    char expected[32];
    std::snprintf(expected, sizeof expected, "BK1=%Xh Error", right);
    EXPECT_EQ(labels[1].caption, expected);
    EXPECT_EQ(labels[1].colour, 192u);
    EXPECT_TRUE(labels[1].recover_visible);
    EXPECT_EQ(labels[2].caption, "BK2");

    // The type label keeps what it showed; the other labels still fill.
    const TypeLabels t = type_labels_show(buf);
    EXPECT_FALSE(t.type.has_value());
    EXPECT_EQ(t.native, "1920x1080p");
}

TEST(EdidCheck, ChecksumCaptionHasNoLeadingZero) {
    EdidImage img(1);
    // Make the expected checksum 0x05: the first 127 bytes must sum to 251 mod 256.
    // Header bytes sum to 6*255 = 1530 = 250 mod 256; one more byte of 1 gives 251.
    img.set(8, 1);
    img.set(127, 5);
    const EdidBuffer buf = checked(img);
    EXPECT_EQ(buf.checksums[0], 5);
    EXPECT_EQ(checksum_labels_show(buf)[0].caption, "BK0=5h");
    EXPECT_EQ(buf.type_code, edid_type_analog);
}

TEST(EdidCheck, HeaderErrorWinsOverChecksum) {
    EdidImage img(1);
    img.set(7, 0x01).fix_checksums();
    EXPECT_EQ(checked(img).type_detail, edid_error_header);
    img.set(127, img.get(127) + 1);
    const EdidBuffer buf = checked(img);
    EXPECT_EQ(buf.type_detail, edid_error_header);
    EXPECT_EQ(check_message_labels(buf).msg2, "Header");
    // The base block is decoded all the same.
    img.set(8, 0x4C).set(9, 0x2D);
    EXPECT_EQ(checked(img).manufacturer, "SAM");
}

TEST(EdidCheck, AnalogDviHdmi) {
    EdidImage analog(1);
    analog.fix_checksums();
    EXPECT_EQ(type_labels_show(checked(analog)).type, "ANALOG");

    // An analog base block with a CEA block whose vendor block is someone else's.
    EdidImage dvi(2);
    dvi.cea(1, {data_block(3, {0x01, 0x02, 0x03, 0x00, 0x00})}).fix_checksums();
    EXPECT_EQ(type_labels_show(checked(dvi)).type, "DVI");

    EdidImage digital_only(1);
    digital_only.set(20, digital).fix_checksums();
    EXPECT_EQ(checked(digital_only).type_code, edid_type_dvi);

    EdidImage hdmi = hdmi_image();
    hdmi.fix_checksums();
    const EdidBuffer buf = checked(hdmi);
    EXPECT_EQ(buf.type_code, edid_type_hdmi);
    EXPECT_EQ(type_labels_show(buf).type, "HDMI HD");
    EXPECT_FALSE(check_message_labels(buf).visible);

    // A CEA block without vendor blocks leaves the base block's answer.
    EdidImage plain(2);
    plain.set(20, digital).cea(1, {data_block(2, {0x90})}).fix_checksums();
    EXPECT_EQ(checked(plain).type_code, edid_type_dvi);

    // HDMI in the second vendor block counts too.
    EdidImage second(2);
    second
        .cea(1, {data_block(3, {0xD8, 0x5D, 0xC4, 0x01, 0x00}),
                 data_block(3, {0x03, 0x0C, 0x00, 0x10, 0x00})})
        .fix_checksums();
    EXPECT_EQ(checked(second).type_code, edid_type_hdmi);
}

TEST(EdidCheck, CeaBlockIsSearchedWhereTheSizeAllows) {
    // Four blocks: block map, then a non-CEA block, then the CEA block.
    EdidImage img(4);
    img.set(128, {0xF0, 0x10, 0x02}).set(256, 0x10);
    img.cea(3, {data_block(3, {0x03, 0x0C, 0x00, 0x10, 0x00})}).fix_checksums();
    EXPECT_EQ(edid_cea_block_for_type(img.buffer()), 3);
    EXPECT_EQ(checked(img).type_code, edid_type_hdmi);

    // With 256 bytes only block 1 is looked at.
    EdidImage two(2);
    two.set(128, 0x10).fix_checksums();
    EXPECT_EQ(edid_cea_block_for_type(two.buffer()), -1);

    // Blocks 2 and 3 come first; block 1 is used when neither is CEA.
    EdidImage both(4);
    both.cea(1, {data_block(3, {0x01, 0x02, 0x03, 0x00, 0x00})});
    both.cea(2, {data_block(3, {0x03, 0x0C, 0x00, 0x10, 0x00})}).fix_checksums();
    EXPECT_EQ(edid_cea_block_for_type(both.buffer()), 2);
    EXPECT_EQ(checked(both).type_code, edid_type_hdmi);

    // A CEA block followed by a DisplayID block (tag 0x70), no block map.
    EdidImage first(3);
    first.cea(1, {data_block(3, {0x03, 0x0C, 0x00, 0x10, 0x00})}).set(256, 0x70).fix_checksums();
    EXPECT_EQ(edid_cea_block_for_type(first.buffer()), 1);
    EXPECT_EQ(checked(first).type_code, edid_type_hdmi);
}

TEST(EdidCheck, HdmiClassFromRangeLimits) {
    struct Case {
        int limit_10mhz;
        const char* type;
    };
    for (const Case& c :
         {Case{29, "HDMI HD"}, Case{30, "HDMI 3G"}, Case{59, "HDMI 3G"}, Case{60, "HDMI 6G"}}) {
        EdidImage img = hdmi_image();
        img.range_limits(2, c.limit_10mhz).fix_checksums();
        EXPECT_EQ(type_labels_show(checked(img)).type, c.type) << c.limit_10mhz;
    }
    // Only the first range limits descriptor counts.
    EdidImage img = hdmi_image();
    img.range_limits(3, 60).fix_checksums();
    EXPECT_EQ(checked(img).type_detail, edid_hdmi_hd);
}

TEST(EdidCheck, HdmiClassFromVendorBlocks) {
    // HDMI VSDB: bytes 4-5 address, 6 flags, 7 max clock, 8 = 0x20 (HDMI video
    // present, no latency), 9 = 3D byte, 10 = VIC length 1 in bits 5-7, 11 = VIC.
    EdidImage vics = hdmi_image({0x03, 0x0C, 0x00, 0x10, 0x00, 0x00, 0x00, 0x20, 0x00, 0x20, 0x01});
    vics.fix_checksums();
    EXPECT_EQ(checked(vics).type_detail, edid_hdmi_3g);

    // Both latency bits: the VIC length byte moves to 14.
    EdidImage latency = hdmi_image(
        {0x03, 0x0C, 0x00, 0x10, 0x00, 0x00, 0x00, 0xE0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x20, 0x01});
    latency.fix_checksums();
    EXPECT_EQ(checked(latency).type_detail, edid_hdmi_3g);

    // A VIC length byte outside the block does not count.
    EdidImage cut = hdmi_image({0x03, 0x0C, 0x00, 0x10, 0x00, 0x00, 0x00, 0x20, 0x00});
    cut.cea(1, {data_block(3, {0x03, 0x0C, 0x00, 0x10, 0x00, 0x00, 0x00, 0x20, 0x00}),
                data_block(2, {0x90})});
    cut.fix_checksums();
    EXPECT_EQ(checked(cut).type_detail, edid_hdmi_hd);

    struct Case {
        int rate;
        int detail;
    };
    for (const Case& c : {Case{0x78, edid_hdmi_6g}, Case{0x77, edid_hdmi_3g},
                          Case{60, edid_hdmi_3g}, Case{59, edid_hdmi_hd}}) {
        EdidImage img(2);
        img.set(20, digital);
        img.cea(1, {data_block(3, {0x03, 0x0C, 0x00, 0x10, 0x00}),
                    data_block(3, {0xD8, 0x5D, 0xC4, 0x01, c.rate})})
            .fix_checksums();
        EXPECT_EQ(checked(img).type_detail, c.detail) << c.rate;
    }
    // The vendor blocks never lower what the range limits gave.
    EdidImage high = hdmi_image();
    high.range_limits(2, 30).fix_checksums();
    EXPECT_EQ(checked(high).type_detail, edid_hdmi_3g);
}

TEST(EdidCheck, WorkingBufferCopyDiscipline) {
    EdidImage img = hdmi_image();
    img.name(3, "MONITOR NAME1").fix_checksums();
    EdidBuffer side = img.buffer();
    EdidBuffer working;
    working.monitor_name = "stale";
    edid_check(side, working);
    EXPECT_EQ(side.type_code, edid_type_hdmi);
    EXPECT_EQ(working.type_code, edid_type_hdmi);
    EXPECT_EQ(working.monitor_name, "MONITOR NAME1");
    EXPECT_EQ(side.monitor_name, "MONITOR NAME1");
    EXPECT_EQ(working.data, side.data);
}

TEST(EdidLabels, ModelSplitAfterEightCharacters) {
    EdidImage img(1);
    img.name(2, "ABCDEFGHIJ").fix_checksums();
    TypeLabels t = type_labels_show(checked(img));
    EXPECT_EQ(t.model1, "ABCDEFGH");
    EXPECT_EQ(t.model2, "IJ");
    EXPECT_FALSE(t.native.has_value());

    EdidImage eight(1);
    eight.name(2, "ABCDEFGH").fix_checksums();
    t = type_labels_show(checked(eight));
    EXPECT_EQ(t.model1, "ABCDEFGH");
    EXPECT_EQ(t.model2, "");
}

}  // namespace
}  // namespace t27
