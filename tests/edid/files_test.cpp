#include <gtest/gtest.h>

#include "common/path_part.h"
#include "edid/check_labels.h"
#include "edid/edid_files.h"
#include "edid/edid_writers.h"
#include "common/file_names.h"
#include "edid/hex_text.h"
#include "edid/recent_files.h"
#include "edid_image.h"
#include "temp_dir.h"

namespace t27 {
namespace {

using test::EdidImage;
using test::TempDir;

std::vector<std::string> lines_of(const std::string& text) {
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

std::string image_bytes(int blocks) {
    EdidImage img(blocks);
    for (int i = 8; i < 128 * blocks; ++i) img.set(i, (i * 7 + 3) & 0xFF);
    img.set(126, blocks - 1).fix_checksums();
    return img.bytes();
}

std::string loaded_bytes(const EdidLoad& l) {
    return std::string(l.buffer.data.begin(), l.buffer.data.begin() + l.buffer.size);
}

TEST(EdidFiles, KindByTheLastThreeCharacters) {
    EXPECT_EQ(edid_file_kind("/x/edid.HEX"), EdidFileKind::hex);
    EXPECT_EQ(edid_file_kind("edid.Bin"), EdidFileKind::bin);
    EXPECT_EQ(edid_file_kind("dump.ddc"), EdidFileKind::ddc);
    EXPECT_EQ(edid_file_kind("edid.txt"), EdidFileKind::unknown);
    EXPECT_EQ(edid_file_kind("he"), EdidFileKind::unknown);

    TempDir dir;
    const EdidLoad txt = edid_file_load(dir.write("edid.txt", "00 FF"));
    EXPECT_EQ(txt.error, EdidLoadError::file_format);
    const MessageLabels shown = load_message_labels(edid_load_error_name(txt.error));
    EXPECT_TRUE(shown.visible);
    EXPECT_EQ(shown.msg1, "Wrong ---");
    EXPECT_EQ(shown.msg2, "File format");
    EXPECT_EQ(shown.colour, 0u);

    const EdidLoad hex = edid_file_load(dir.write("edid.HEX", "0x00,0xFF,0x12"));
    ASSERT_TRUE(hex.ok());
    EXPECT_EQ(loaded_bytes(hex), std::string("\x00\xFF\x12", 3));

    const EdidLoad missing = edid_file_load(dir.file("absent.bin"));
    EXPECT_EQ(missing.error, EdidLoadError::unreadable);
    EXPECT_NE(missing.io_message.find("absent.bin"), std::string::npos);
}

TEST(EdidFiles, BinOf256Bytes) {
    const std::string bytes = image_bytes(2);
    const EdidLoad l = edid_read_bin(bytes);
    ASSERT_TRUE(l.ok());
    EXPECT_EQ(l.buffer.size, 256);
    EXPECT_EQ(loaded_bytes(l), bytes);
    const auto lines = lines_of(l.text);
    ASSERT_EQ(lines.size(), 34u);
    EXPECT_EQ(lines[16], std::string(29, ' '));
    EXPECT_EQ(lines[33], std::string(29, ' '));
    EXPECT_EQ(lines[0], "00 FF FF FF FF FF FF 00 //7  ");

    EXPECT_EQ(edid_read_bin("").error, EdidLoadError::data);
    EXPECT_EQ(edid_read_bin(std::string(514, 'A')).error, EdidLoadError::data);
    EXPECT_TRUE(edid_read_bin(std::string(513, 'A')).ok());
}

TEST(EdidFiles, DdcTakesTheLast256Or128Bytes) {
    const std::string two = image_bytes(2);
    EdidLoad l = edid_read_ddc(std::string(768, '\x55') + two);
    ASSERT_TRUE(l.ok());
    EXPECT_EQ(l.buffer.size, 256);
    EXPECT_EQ(loaded_bytes(l), two);

    // The last 256 bytes start with something else, the last 128 with a header.
    const std::string one = image_bytes(1);
    l = edid_read_ddc(std::string(300, '\x00') + one);
    ASSERT_TRUE(l.ok());
    EXPECT_EQ(l.buffer.size, 128);
    EXPECT_EQ(loaded_bytes(l), one);
    const auto lines = lines_of(l.text);
    ASSERT_EQ(lines.size(), 33u);
    EXPECT_EQ(lines[16], std::string(29, ' '));
    EXPECT_EQ(lines[17], "FF FF FF FF FF FF FF FF //87");
    EXPECT_EQ(lines[18], "FF FF FF FF FF FF FF FF //8F");
    EXPECT_EQ(lines[32], "FF FF FF FF FF FF FF FF //FF");
    // The buffer agrees with what the filler lines show.
    for (int i = 128; i < 256; ++i) EXPECT_EQ(l.buffer.data[static_cast<std::size_t>(i)], 0xFF);

    EXPECT_EQ(edid_read_ddc(one).error, EdidLoadError::data);  // shorter than 256
    EXPECT_EQ(edid_read_ddc("").error, EdidLoadError::data);
    EXPECT_EQ(edid_read_ddc(std::string(1024, '\x00')).error, EdidLoadError::data);
}

TEST(EdidFiles, HexRejectionIsData) {
    // Text that holds no byte at all is no image either.
    for (const char* bad : {"12 3X", "", "zz", "// only a comment\r\n", " \r\n\r\n"})
        EXPECT_EQ(edid_read_hex(bad).error, EdidLoadError::data) << bad;
    EXPECT_EQ(edid_load_error_name(EdidLoadError::data), "Data");
}

TEST(EdidWriters, CleanedTextAndSimpleHex) {
    const std::string text =
        edid_text_format(image_bytes(2), 0, EdidSeparatorRule::after_every_block);
    const std::string cleaned = edid_clean_text(text);
    const auto lines = lines_of(cleaned);
    ASSERT_EQ(lines.size(), 34u);
    EXPECT_EQ(lines[0], "00 FF FF FF FF FF FF 00 //7  ");
    EXPECT_EQ(lines[16], "");
    EXPECT_EQ(lines[33], "");
    EXPECT_EQ(edid_hex_simple(cleaned), cleaned + "\r\n");
    // Leading blanks go; text after the last line end becomes a line.
    EXPECT_EQ(edid_clean_text("  AA BB //1  \r\n   \r\nCC"), "AA BB //1  \r\n\r\nCC\r\n");
}

TEST(EdidWriters, CLanguageHexRoundTrip) {
    const std::string bytes = image_bytes(2);
    const std::string text =
        edid_text_format(bytes, 0, EdidSeparatorRule::before_further_blocks);  // a READ side
    const std::string c = edid_hex_c_language(edid_clean_text(text));
    const auto lines = lines_of(c);
    ASSERT_EQ(lines.size(), 33u);
    EXPECT_EQ(lines[0], "0x00,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF,0x00, //7  ");
    EXPECT_EQ(lines[16], "");
    EXPECT_EQ(lines[32].substr(lines[32].size() - 7), ", //FF ");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i != 16) {
            EXPECT_EQ(lines[i].size(), 8u * 5u + 3u + 3u) << i;
        }
    }

    TempDir dir;
    ASSERT_TRUE(
        edid_file_save(dir.file("c.hex"), text, EdidSaveFormat::hex, EdidHexType::c_language));
    EXPECT_EQ(TempDir::read(dir.file("c.hex")), c);
    const EdidLoad back = edid_file_load(dir.file("c.hex"));
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(loaded_bytes(back), bytes);

    ASSERT_TRUE(edid_file_save(dir.file("s.hex"), text, EdidSaveFormat::hex, EdidHexType::simple));
    const EdidLoad simple = edid_file_load(dir.file("s.hex"));
    ASSERT_TRUE(simple.ok());
    EXPECT_EQ(loaded_bytes(simple), bytes);
}

TEST(EdidWriters, BinRoundTripReplacesALongerFile) {
    const std::string bytes = image_bytes(2);
    const EdidLoad first = edid_read_bin(bytes);
    TempDir dir;
    const std::string path = dir.write("e.bin", std::string(1000, 'x'));
    ASSERT_TRUE(edid_file_save(path, first.text, EdidSaveFormat::bin, EdidHexType::simple));
    EXPECT_EQ(TempDir::read(path), bytes);
    const EdidLoad back = edid_file_load(path);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.text, first.text);
    EXPECT_EQ(loaded_bytes(back), bytes);

    std::string error;
    EXPECT_FALSE(edid_file_save(dir.file("no/such/dir/e.bin"), first.text, EdidSaveFormat::bin,
                                EdidHexType::simple, &error));
    EXPECT_FALSE(error.empty());
}

TEST(FileNames, ExtensionRules) {
    EXPECT_EQ(with_extension("/d/edid.hex", ".hex"), "/d/edid.hex");
    EXPECT_EQ(with_extension("/d/edid.HEX", ".hex"), "/d/edid.HEX");
    EXPECT_EQ(with_extension("/d/edid", ".hex"), "/d/edid.hex");
    EXPECT_EQ(with_extension("/d/edid.bin", ".hex"), "/d/edid.hex");
    EXPECT_EQ(with_extension("/d/edid.jpeg", ".bin"), "/d/edid.bin");
    EXPECT_EQ(with_extension("/d.x/report", ".txt"), "/d.x/report.txt");
    EXPECT_EQ(with_extension("/d/.hidden", ".txt"), "/d/.hidden.txt");
    EXPECT_EQ(with_extension("/d/v1.2 final", ".hex"), "/d/v1.2 final.hex");
    EXPECT_EQ(with_extension("/d/v1.2", ".bin"), "/d/v1.2.bin");
}

TEST(PathPart, Modes) {
    EXPECT_EQ(path_part("", 0), "");
    EXPECT_EQ(path_part("", 1), "");
    EXPECT_EQ(path_part("", 2), "");
    EXPECT_EQ(path_part("/home/ann/edid/tv.hex", 0), "/home/ann/edid");
    EXPECT_EQ(path_part("/home/ann/edid/tv.hex", 2), "tv.hex");
    EXPECT_EQ(path_part("/home/ann/edid/tv.hex", 1), "/ho.../edid/tv.hex");
    EXPECT_EQ(path_part("/ab/tv.hex", 1), "/ab/tv.hex");  // second-to-last at the start
    EXPECT_EQ(path_part("ab/cd/tv.hex", 1),
              "ab/cd/tv.hex");  // second-to-last is the third character
    EXPECT_EQ(path_part("abc/d/tv.hex", 1), "abc.../d/tv.hex");
    EXPECT_EQ(path_part("tv.hex", 0), "");
    EXPECT_EQ(path_part("tv.hex", 1), "tv.hex");
    EXPECT_EQ(path_part("tv.hex", 2), "tv.hex");
}

TEST(RecentFiles, AddMovesAndDrops) {
    RecentFiles r;
    for (int i = 9; i >= 0; --i) recent_files_add(r, "f" + std::to_string(i));
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(r.entries[static_cast<std::size_t>(i)], "f" + std::to_string(i));

    recent_files_add(r, "f3");
    const char* after_move[] = {"f3", "f0", "f1", "f2", "f4", "f5", "f6", "f7", "f8", "f9"};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(r.entries[static_cast<std::size_t>(i)], after_move[i]);

    recent_files_add(r, "new");
    EXPECT_EQ(r.entries[0], "new");
    EXPECT_EQ(r.entries[1], "f3");
    EXPECT_EQ(r.entries[9], "f8");

    recent_files_remove(r, 1);
    EXPECT_EQ(r.entries[1], "f0");
    EXPECT_EQ(r.entries[8], "f8");
    EXPECT_EQ(r.entries[9], "");
}

}  // namespace
}  // namespace t27
