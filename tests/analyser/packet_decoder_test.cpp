#include <gtest/gtest.h>

#include <string>

#include "analyser/packet_bytes.h"
#include "analyser/packet_decode.h"
#include "analyser/packet_texts.h"
#include "edid/vic_names.h"

namespace t27 {
namespace {

// A packet text with `payload` starting at PB1 (byte 4); header and checksum 0.
std::string with_payload(const std::string& payload) { return "00 00 00 00 " + payload; }

PacketFields decoded(PacketKind kind, const std::string& text) {
    PacketFields f;
    decode_packet(kind, text, f);
    return f;
}

TEST(PacketBytes, ReadsHexPairsAndEndsNumbersAtOtherCharacters) {
    const PacketBytes b = parse_packet_bytes("84 01 0a Ff 0z z0 A. ");
    EXPECT_EQ(b[0], 0x84);
    EXPECT_EQ(b[1], 0x01);
    EXPECT_EQ(b[2], 0x0A);
    EXPECT_EQ(b[3], 0xFF);
    EXPECT_EQ(b[4], 0x00);  // "0z": the z ends the number after 0
    EXPECT_EQ(b[5], 0x00);  // "z0": no digit before the z
    EXPECT_EQ(b[6], 0x0A);  // "A.": one digit read
    EXPECT_EQ(b[7], 0x00);  // not supplied
}

TEST(PacketBytes, LengthRuleKeepsAFinalPairWithoutItsBlankButNotALoneDigit) {
    // L = 5: 5/3 - 1 = 0.67 rounds to 1, so the pair "12" counts.
    EXPECT_EQ(parse_packet_bytes("AB 12")[1], 0x12);
    // L = 4: 4/3 - 1 = 0.33 rounds to 0; "1" is not read.
    EXPECT_EQ(parse_packet_bytes("AB 1")[1], 0x00);
    EXPECT_EQ(parse_packet_bytes("AB 1")[0], 0xAB);
    // L = 1 gives no byte at all.
    EXPECT_EQ(parse_packet_bytes("7")[0], 0x00);
    EXPECT_EQ(parse_packet_bytes("")[0], 0x00);
}

TEST(PacketBytes, TakesAtMostThirtyThreeBytes) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += (i < 33 ? "11 " : "EE ");
    const PacketBytes b = parse_packet_bytes(text);
    ASSERT_EQ(b.size(), 33u);
    for (std::uint8_t v : b) EXPECT_EQ(v, 0x11);
}

TEST(PacketBytes, PresenceAndTrimming) {
    EXPECT_FALSE(packet_present("None"));
    EXPECT_FALSE(packet_present("off"));
    EXPECT_TRUE(packet_present("82 02 0D"));
    EXPECT_EQ(packet_string("  82 02 0D  "), "82 02 0D ");
    EXPECT_EQ(packet_string("82 02 0D "), "82 02 0D ");
}

TEST(AifDecoder, TwoChannelsEverythingElseFromTheStream) {
    const PacketFields f = decoded(PacketKind::Aif, "84 01 0A 70 01 00 00 00 00 00 ");
    EXPECT_EQ(f.CodingTypeText, "Refer to stream header");
    EXPECT_EQ(f.ChannelCountText, " 2");
    EXPECT_EQ(f.SampleRateText, "Refer to stream header");
    EXPECT_EQ(f.SampleSizeText, "Refer to stream header");
    EXPECT_EQ(f.ExtCodingTypeText, "Refer to Coding Type");
    EXPECT_EQ(f.SpeakerPlacementText, " -   -   -  -  -  -  FR FL");
    EXPECT_EQ(f.DownMixText, "Permitted/No info");
}

TEST(AifDecoder, FieldsFromEachBitRange) {
    // PB1 0x97: coding 9 (OneBit), channels 7 -> 8. PB2 0x1F: rate 7, size 3.
    // PB3 0x0A: ext 10. PB4 0x13 = 19. PB5 0x80: down-mix prohibited.
    const PacketFields f = decoded(PacketKind::Aif, with_payload("97 1F 0A 13 80 "));
    EXPECT_EQ(f.CodingTypeText, "OneBit");
    EXPECT_EQ(f.ChannelCountText, " 8");
    EXPECT_EQ(f.SampleRateText, "192 kHz");
    EXPECT_EQ(f.SampleSizeText, "24 Bits");
    EXPECT_EQ(f.ExtCodingTypeText, "MPEG4 AACLC+");
    EXPECT_EQ(f.SpeakerPlacementText, "RRC RLC RR RL FC LFE FR FL");
    EXPECT_EQ(f.DownMixText, "Prohibited");

    const PacketFields g = decoded(PacketKind::Aif, with_payload("F0 08 09 31 00 "));
    EXPECT_EQ(g.CodingTypeText, "Ext. Type");
    EXPECT_EQ(g.SampleRateText, "44.1 kHz");
    EXPECT_EQ(g.ExtCodingTypeText, "Reserved");  // 9 has no coding
    EXPECT_EQ(decoded(PacketKind::Aif, with_payload("00 00 1F ")).ExtCodingTypeText, "Reserved");
    EXPECT_EQ(decoded(PacketKind::Aif, with_payload("00 00 E4 ")).ExtCodingTypeText, "MPEG4 AAC");
    EXPECT_EQ(g.SpeakerPlacementText, "FRW FLW RR RL FC LFE FR FL");
}

TEST(AifDecoder, SpeakerPlacementTextsAreAllTwentySixWideAndEndAtFortyNine) {
    for (int code = 0; code < 50; ++code) {
        char pb4[8];
        std::snprintf(pb4, sizeof pb4, "%02X ", code);
        const PacketFields f =
            decoded(PacketKind::Aif, with_payload("00 00 00 " + std::string(pb4)));
        EXPECT_EQ(f.SpeakerPlacementText.size(), 26u) << code;
        EXPECT_EQ(f.SpeakerPlacementText.substr(21), "FR FL") << code;
    }
    EXPECT_EQ(decoded(PacketKind::Aif, with_payload("00 00 00 2A ")).SpeakerPlacementText,
              "FCH RC  RR RL FC  -  FR FL");
    EXPECT_EQ(decoded(PacketKind::Aif, with_payload("00 00 00 32 ")).SpeakerPlacementText,
              "Reserved");
    EXPECT_EQ(decoded(PacketKind::Aif, with_payload("00 00 00 FF ")).SpeakerPlacementText,
              "Reserved");
}

TEST(AviDecoder, ColourSpaceFromTheTopThreeBits) {
    EXPECT_EQ(avi_color_space_text(decoded(PacketKind::Avi, with_payload("40 ")).ColorSpace),
              "YCbCr444");
    EXPECT_EQ(avi_color_space_text(decoded(PacketKind::Avi, with_payload("E0 ")).ColorSpace),
              "IDO Define");
    EXPECT_EQ(avi_color_space_text(decoded(PacketKind::Avi, with_payload("80 ")).ColorSpace),
              "Reserved");
    EXPECT_EQ(avi_color_space_text(decoded(PacketKind::Avi, with_payload("1F ")).ColorSpace),
              "RGB");
    EXPECT_EQ(avi_color_space_text(decoded(PacketKind::Avi, with_payload("60 ")).ColorSpace),
              "YCbCr420");
}

TEST(AviDecoder, ColorimetryContentVicAndRepetition) {
    // PB2 0xC0: colorimetry 3. PB3 0xE0: IT content, ext 6. PB4 VIC 97. PB5 code 1.
    const PacketFields f = decoded(PacketKind::Avi, with_payload("20 C0 E0 61 01 "));
    EXPECT_EQ(avi_colorimetry_text(f.Colorimetry), "Extended Colorimetry");
    EXPECT_EQ(f.ItContent, 1);
    EXPECT_EQ(avi_ext_colorimetry_text(f.ExtColorimetry), "BT2020(2)");
    EXPECT_EQ(f.Vic, 97);
    EXPECT_EQ(f.PixelRepetition, 2);
}

TEST(AviDecoder, ExtendedColorimetryDescribesOnlyThisPacket) {
    // Each row follows the one before on the same fields, as packets do on a
    // live link: nothing an earlier extended source said may leak through.
    struct Row {
        const char* payload;  // PB1..PB5
        const char* colorimetry;
        const char* extended;
    };
    const Row rows[] = {
        {"00 C0 40 10 03 ", "Extended Colorimetry", "Adobe RGB"},
        {"00 C0 60 10 03 ", "Extended Colorimetry", "BT2020(2)"},
        {"00 80 60 10 00 ", "ITU709", "None"},  // EC bits set but not extended
        {"00 C0 70 10 00 ", "Extended Colorimetry", "Reserved"},
        {"00 40 00 10 00 ", "ITU601", "None"},
        {"00 C0 00 10 00 ", "Extended Colorimetry", "xvYCC601"},
        {"00 00 50 10 00 ", "No Data", "None"},
    };
    PacketFields f;
    for (const Row& r : rows) {
        decode_packet(PacketKind::Avi, with_payload(r.payload), f);
        EXPECT_EQ(avi_colorimetry_text(f.Colorimetry), r.colorimetry) << r.payload;
        EXPECT_EQ(avi_ext_colorimetry_text(f.ExtColorimetry), r.extended) << r.payload;
    }
    // Before any AVI nothing was sent.
    EXPECT_EQ(avi_ext_colorimetry_text(PacketFields{}.ExtColorimetry), "None");
}

TEST(AviDecoder, RepetitionCodesWithoutATextKeepThePreviousValue) {
    PacketFields f;
    decode_packet(PacketKind::Avi, with_payload("00 C0 40 10 03 "), f);
    EXPECT_EQ(f.PixelRepetition, 4);
    decode_packet(PacketKind::Avi, with_payload("00 C0 70 10 0A "), f);
    EXPECT_EQ(f.PixelRepetition, 4);
    decode_packet(PacketKind::Avi, with_payload("00 80 10 10 00 "), f);
    EXPECT_EQ(f.PixelRepetition, 1);
}

TEST(AviDecoder, VicTextUsesTheSharedNameTable) {
    EXPECT_EQ(vic_name(16), "1920x1080p 59/60 16:9");
    EXPECT_EQ(vic_name(0), "No VIC Available");
    for (int v = 108; v <= 128; ++v) EXPECT_EQ(vic_name(v), "") << v;

    EXPECT_EQ(avi_vic_text(16), " 16 1920x1080p 59/60 16:9");
    EXPECT_EQ(avi_vic_text(0), " 0 No VIC Available");
    EXPECT_EQ(avi_vic_text(110), " 110 ");
    // Past the table the number stands alone.
    EXPECT_EQ(avi_vic_text(200), " 200");
}

TEST(GcpDecoder, MuteAndDepth) {
    PacketFields f = decoded(PacketKind::Gcp, "03 00 00 01 05 ");
    EXPECT_EQ(gcp_av_mute_text(f.AvMute), "Set");
    EXPECT_EQ(f.ColorDepth, 10);
    EXPECT_EQ(gcp_color_depth_text(f.ColorDepth), "10");

    f = decoded(PacketKind::Gcp, "03 00 00 01 02 ");
    EXPECT_EQ(gcp_color_depth_text(f.ColorDepth), "Reserved");

    f = decoded(PacketKind::Gcp, "03 00 00 10 00 ");
    EXPECT_EQ(gcp_av_mute_text(f.AvMute), "Clear");
    EXPECT_EQ(gcp_color_depth_text(f.ColorDepth), "Not Indicated");

    // Both mute bits at once, or neither, says nothing.
    EXPECT_EQ(gcp_av_mute_text(decoded(PacketKind::Gcp, "03 00 00 11 04 ").AvMute), "None");
    EXPECT_EQ(decoded(PacketKind::Gcp, "03 00 00 00 07 ").ColorDepth, 16);
    EXPECT_EQ(decoded(PacketKind::Gcp, "03 00 00 00 F6 ").ColorDepth, 12);  // high bits ignored
}

TEST(SpdDecoder, TextsStopAtTheFirstZeroByte) {
    // Vendor "ABCDEFGH" (eight bytes, no terminator), product "Box" then 0,
    // source device 8 at PB25 (byte 28).
    std::string text = "83 01 19 00 41 42 43 44 45 46 47 48 42 6F 78 00 ";
    for (int i = 16; i < 28; ++i) text += "00 ";
    text += "08 ";
    PacketFields f = decoded(PacketKind::Spd, text);
    EXPECT_EQ(f.VendorName, "ABCDEFGH");
    EXPECT_EQ(f.ProductDescription, "Box");
    EXPECT_EQ(f.SourceDeviceText, "Game");

    f = decoded(PacketKind::Spd, "83 01 19 00 00 42 43 ");
    EXPECT_EQ(f.VendorName, "");
    EXPECT_EQ(f.SourceDeviceText, "Unknown");
}

TEST(SpdDecoder, HighBytesAreCharactersOfTheEightBitCodePage) {
    std::string text = "83 01 19 00 E9 00 00 00 00 00 00 00 ";
    for (int i = 12; i < 28; ++i) text += "41 ";
    text += "0E ";
    const PacketFields f = decoded(PacketKind::Spd, text);
    EXPECT_EQ(f.VendorName, std::string(1, static_cast<char>(0xE9)));
    EXPECT_EQ(f.ProductDescription, std::string(16, 'A'));
    EXPECT_EQ(f.SourceDeviceText, "Reserved");
}

TEST(VsiDecoder, ExtendedVicAndThreeD) {
    PacketFields f = decoded(PacketKind::Vsi, with_payload("03 0C 00 20 01 "));
    EXPECT_EQ(f.IeeeIdText, "0x000C03");
    EXPECT_EQ(f.VideoFormatText, "Extended HDMI VIC");
    EXPECT_EQ(vsi_hdmi_vic_text(f.HdmiVic), "1:3840x2160p29.97/30");
    EXPECT_EQ(f.ThreeDStructureText, "None");

    f = decoded(PacketKind::Vsi, with_payload("03 0C 00 40 60 "));
    EXPECT_EQ(f.VideoFormatText, "3D Format");
    EXPECT_EQ(f.ThreeDStructureText, "Top and Bottom");
    EXPECT_EQ(f.HdmiVic, packet_none_marker);
    EXPECT_EQ(vsi_hdmi_vic_text(f.HdmiVic), "None");
}

TEST(VsiDecoder, OuiDigitsAndCodesWithoutText) {
    const PacketFields f = decoded(PacketKind::Vsi, with_payload("D8 5D C4 20 0B "));
    EXPECT_EQ(f.IeeeIdText, "0xC45DD8");
    EXPECT_EQ(f.HdmiVic, 11);
    EXPECT_FALSE(vsi_hdmi_vic_has_text(11));
    EXPECT_EQ(vsi_hdmi_vic_text(11), "");
    EXPECT_TRUE(vsi_hdmi_vic_has_text(10));
    EXPECT_EQ(vsi_hdmi_vic_text(10), "10:4096x2160p50");
    EXPECT_EQ(decoded(PacketKind::Vsi, with_payload("00 00 00 60 ")).VideoFormatText, "Reserved");
    EXPECT_EQ(decoded(PacketKind::Vsi, with_payload("00 00 00 00 ")).VideoFormatText, "No Info");
    EXPECT_EQ(decoded(PacketKind::Vsi, with_payload("00 00 00 40 80 ")).ThreeDStructureText,
              "Side by Side Half");
    EXPECT_EQ(decoded(PacketKind::Vsi, with_payload("00 00 00 40 70 ")).ThreeDStructureText,
              "Reserved");
}

TEST(DrmDecoder, LightLevelsAreLittleEndianAfterTheMasteringData) {
    std::string text = "87 01 1A 00 02 00 ";
    for (int i = 6; i < 26; ++i) text += "FF ";
    text += "E8 03 90 01 ";
    const PacketFields f = decoded(PacketKind::Drm, text);
    EXPECT_EQ(f.EotfText, "2:SMPTE ST 2084[2]");
    EXPECT_EQ(f.MetadataText, "Static Metadata Type 1");
    EXPECT_EQ(f.MaxContentLightLevel, 1000);
    EXPECT_EQ(f.MaxFrameAverageLightLevel, 400);
}

TEST(DrmDecoder, EotfTextsAndShortPackets) {
    const std::pair<const char*, const char*> eotfs[] = {
        {"00", "0:SDR Luminance Range"}, {"01", "1:HDR Luminance Range"},
        {"02", "2:SMPTE ST 2084[2]"},    {"03", "3:HLG"},
        {"04", "Reserved"},              {"FF", "Reserved"},
    };
    for (const auto& [code, text] : eotfs)
        EXPECT_EQ(decoded(PacketKind::Drm, std::string("87 01 1A 00 ") + code + " 00 ").EotfText,
                  text)
            << code;
    const PacketFields f = decoded(PacketKind::Drm, "87 01 1A 00 04 01 ");
    EXPECT_EQ(f.MetadataText, "Reserved");
    EXPECT_EQ(f.MaxContentLightLevel, 0);
    EXPECT_EQ(f.MaxFrameAverageLightLevel, 0);
}

TEST(PacketDecoders, WriteOnlyTheirOwnKind) {
    PacketFields f;
    decode_packet(PacketKind::Aif, "84 01 0A 70 01 ", f);
    decode_packet(PacketKind::Gcp, "03 00 00 01 05 ", f);
    EXPECT_EQ(f.ChannelCountText, " 2");
    EXPECT_EQ(f.ColorDepth, 10);
    EXPECT_EQ(f.VendorName, "");
    EXPECT_EQ(f.Vic, 0);
}

}  // namespace
}  // namespace t27
