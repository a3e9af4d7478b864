// Inputs the fuzz targets turned up, kept as tests of the fix.
#include <gtest/gtest.h>

#include <string>

#include "edid/edid_files.h"
#include "edid/edid_writers.h"
#include "temp_dir.h"

namespace t27 {
namespace {

using test::TempDir;

// Byte i holds i: every byte is told apart from its neighbours.
std::string counting(std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += static_cast<char>(i & 0xFF);
    return s;
}

// An image whose length is not a multiple of eight ends its hex text with a
// line that has no line end; saving used to drop that line's bytes.
TEST(EdidFuzzRegressions, SavingKeepsBytesOfAPartialLastLine) {
    for (std::size_t n : {1u, 100u, 129u, 513u}) {
        const std::string bytes = counting(n);
        const EdidLoad load = edid_read_bin(bytes);
        ASSERT_TRUE(load.ok()) << n;

        const std::string cleaned = edid_clean_text(load.text);
        EXPECT_EQ(edid_bin_from_text(cleaned), bytes) << n;

        const EdidLoad simple = edid_read_hex(edid_hex_simple(cleaned));
        ASSERT_TRUE(simple.ok()) << n;
        EXPECT_EQ(simple.buffer.size, static_cast<int>(n));
        EXPECT_EQ(simple.text, load.text) << n;

        const EdidLoad c_language = edid_read_hex(edid_hex_c_language(cleaned));
        ASSERT_TRUE(c_language.ok()) << n;
        EXPECT_EQ(c_language.buffer.data, load.buffer.data) << n;
        EXPECT_EQ(c_language.buffer.size, static_cast<int>(n));
    }
}

TEST(EdidFuzzRegressions, PartialLastLineSurvivesAFileRoundTrip) {
    TempDir dir;
    const std::string bytes = counting(100);
    const EdidLoad load = edid_file_load(dir.write("odd.bin", bytes));
    ASSERT_TRUE(load.ok());

    ASSERT_TRUE(edid_file_save(dir.file("copy.bin"), load.text, EdidSaveFormat::bin,
                               EdidHexType::simple));
    EXPECT_EQ(TempDir::read(dir.file("copy.bin")), bytes);

    // 100 bytes: twelve whole lines, then "60 61 62 63" on a line of its own.
    ASSERT_TRUE(edid_file_save(dir.file("copy.hex"), load.text, EdidSaveFormat::hex,
                               EdidHexType::c_language));
    const std::string c_text = TempDir::read(dir.file("copy.hex"));
    EXPECT_NE(c_text.find("0x60,0x61,0x62,0x63,\r\n"), std::string::npos);
    const EdidLoad back = edid_file_load(dir.file("copy.hex"));
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.buffer.size, 100);
    EXPECT_EQ(back.text, load.text);
}

}  // namespace
}  // namespace t27
