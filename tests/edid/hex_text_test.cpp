#include "edid/hex_text.h"

#include <gtest/gtest.h>

#include "edid_image.h"

namespace t27 {
namespace {

std::string bytes_of(std::initializer_list<int> v) {
    std::string s;
    for (int b : v) s += static_cast<char>(b);
    return s;
}

std::string counting(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>(i & 0xFF);
    return s;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, at - start));
        start = at + 2;
    }
    EXPECT_EQ(start, text.size()) << "text must end with CR LF";
    return lines;
}

TEST(HexTextFormat, LinesAreTwentyNineCharactersWithIndexField) {
    const std::string text =
        edid_text_format(counting(512), 0, EdidSeparatorRule::after_every_block);
    const auto lines = lines_of(text);
    ASSERT_EQ(lines.size(), 4u * 17u);
    EXPECT_EQ(lines[0], "00 01 02 03 04 05 06 07 //7  ");
    EXPECT_EQ(lines[1], "08 09 0A 0B 0C 0D 0E 0F //F  ");
    EXPECT_EQ(lines[15], "78 79 7A 7B 7C 7D 7E 7F //7F ");
    EXPECT_EQ(lines[16], std::string(29, ' '));
    EXPECT_EQ(lines[17 + 15], "F8 F9 FA FB FC FD FE FF //FF ");
    EXPECT_EQ(lines[34], "00 01 02 03 04 05 06 07 //107");
    EXPECT_EQ(lines[67], std::string(29, ' '));
    EXPECT_EQ(lines[66], "F8 F9 FA FB FC FD FE FF //1FF");
    for (const auto& l : lines) EXPECT_EQ(l.size(), 29u) << l;
}

TEST(HexTextFormat, SeparatorRulesDifferOnlyInTheTrailingLine) {
    const std::string image = counting(256);
    const std::string from_unit =
        edid_text_format(image, 0, EdidSeparatorRule::before_further_blocks);
    const std::string from_file = edid_text_format(image, 0, EdidSeparatorRule::after_every_block);
    EXPECT_EQ(from_unit + edid_text_separator(), from_file);
    EXPECT_EQ(lines_of(from_unit).size(), 33u);  // 32 data lines, one separator

    // Reading block by block from the unit: the separator comes with block 1.
    const std::string block1 =
        edid_text_format(image.substr(128), 128, EdidSeparatorRule::before_further_blocks);
    EXPECT_EQ(block1.substr(0, 31), edid_text_separator());
    EXPECT_EQ(block1.substr(31, 29), "80 81 82 83 84 85 86 87 //87 ");
}

TEST(HexTextFormat, PairsFromTheUnitAreUpperCasedAsReceived) {
    std::vector<std::string> pairs(8, "0a");
    pairs[1] = "fF";
    EXPECT_EQ(edid_text_format_pairs(pairs, 0, EdidSeparatorRule::before_further_blocks),
              "0A FF 0A 0A 0A 0A 0A 0A //7  \r\n");
}

TEST(HexTextParse, ScanningRules) {
    struct Case {
        const char* input;
        std::string bytes;
    };
    const Case cases[] = {
        {"0x00,0xFF", bytes_of({0x00, 0xFF})},
        {"00FF", bytes_of({0x00, 0xFF})},
        {"ABC ", bytes_of({0xAB, 0x0C})},
        {"F,", bytes_of({0x0F})},
        {"\t 12 \t34\t \r\n", bytes_of({0x12, 0x34})},
        {"12h, $34, 0X56", bytes_of({0x12, 0x34, 0x56})},
        {"ab cd", bytes_of({0xAB, 0xCD})},
        {"1\n2\nF\n", bytes_of({0x01, 0x02, 0x0F})},  // one value a line
        {"// only a comment\r\n   \t  \r\n", ""},
        {"11 22 / 33 44\r55", bytes_of({0x11, 0x22, 0x55})},
        {"0x", ""},
    };
    for (const Case& c : cases) {
        const EdidTextParse p = edid_text_parse(c.input);
        ASSERT_TRUE(p.ok) << c.input;
        EXPECT_EQ(p.bytes, c.bytes) << c.input;
    }
}

TEST(HexTextParse, XOutsideAZeroPrefixRejectsTheWholeInput) {
    for (const char* bad : {"12 3X", "X1", "00 1x", "0 x1", "00x1", "01\r\n0xx"}) {
        EXPECT_FALSE(edid_text_parse(bad).ok) << bad;
    }
}

TEST(HexTextParse, OwnTextRoundTripsBytesAndLayout) {
    test::EdidImage img(2);
    for (int i = 8; i < 256; ++i) img.set(i, (i * 37) & 0xFF);
    const std::string text = edid_text_format(img.bytes(), 0, EdidSeparatorRule::after_every_block);
    const EdidTextParse p = edid_text_parse(text);
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.bytes, img.bytes());
    EXPECT_EQ(p.text, text);

    // The unit's layout parses to the same bytes and is laid out file-style.
    const EdidTextParse q =
        edid_text_parse(edid_text_format(img.bytes(), 0, EdidSeparatorRule::before_further_blocks));
    EXPECT_EQ(q.bytes, img.bytes());
    EXPECT_EQ(q.text, text);
}

TEST(HexTextParse, NothingIsStoredPastTheBuffer) {
    std::string fits;
    for (int i = 0; i < edid_data_bytes; ++i) fits += "AA ";
    const EdidTextParse ok = edid_text_parse(fits);
    ASSERT_TRUE(ok.ok);
    EXPECT_EQ(ok.bytes.size(), static_cast<std::size_t>(edid_data_bytes));
    EXPECT_FALSE(edid_text_parse(fits + "BB").ok);
    EXPECT_FALSE(edid_text_parse(fits + "B").ok);  // a trailing lone digit is a byte too
}

TEST(HexTextReply, PairsAtEveryThirdCharacter) {
    std::string data;
    for (int i = 0; i < 128; ++i) data += "00 ";
    data.replace(0, 2, "1f");
    data.replace(3, 2, "G1");  // no digit before the G: 0
    data.replace(6, 2, "1G");  // digits end at the G: 1
    data.replace(381, 2, "fe");
    data += "\r\n";
    const EdidReplyBlock b = edid_reply_block_decode(data);
    ASSERT_EQ(b.bytes.size(), 128u);
    EXPECT_EQ(static_cast<unsigned char>(b.bytes[0]), 0x1F);
    EXPECT_EQ(static_cast<unsigned char>(b.bytes[1]), 0x00);
    EXPECT_EQ(static_cast<unsigned char>(b.bytes[2]), 0x01);
    EXPECT_EQ(static_cast<unsigned char>(b.bytes[127]), 0xFE);
    EXPECT_EQ(b.pairs[0], "1F");
    EXPECT_EQ(b.pairs[1], "G1");
}

}  // namespace
}  // namespace t27
