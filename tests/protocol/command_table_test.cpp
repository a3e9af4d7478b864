#include <gtest/gtest.h>

#include "protocol/command_table.h"
#include "protocol/request_text.h"

namespace t27 {
namespace {

TEST(CommandTable, KeepsTrailingBlanksAndGaps) {
    EXPECT_EQ(command_text(27), "$deep_color ");
    EXPECT_EQ(command_text(28), "$deep_color?");
    EXPECT_EQ(command_text(70), "$pattern? ");
    EXPECT_EQ(command_text(71), "$pattern ");
    EXPECT_EQ(command_text(146), "$source_detect? vsi");
    EXPECT_EQ(command_text(147), "$source_detect? vsp");
    EXPECT_EQ(command_text(10), "$board_id? ");
    EXPECT_EQ(command_text(12), "$boot?");
    EXPECT_EQ(command_text(9), "$audio_sr? ");
    EXPECT_EQ(command_text(189), "$color_cal_red?");
    EXPECT_EQ(command_text(-1), "");
    EXPECT_EQ(command_text(191), "");

    const int gaps[] = {29, 43, 49, 58, 59, 72, 79, 91, 99, 158, 159, 173, 179, 190};
    for (int g : gaps) EXPECT_TRUE(command_text(g).empty()) << g;

    int filled = 0;
    for (const std::string& e : command_table()) {
        if (e.empty()) continue;
        ++filled;
        EXPECT_EQ(e.front(), '$') << e;
        EXPECT_EQ(e.find('\r'), std::string::npos) << e;
    }
    EXPECT_EQ(filled, 154);
}

TEST(CommandWord, TakesTextBeforeBlankOrCr) {
    EXPECT_EQ(cmdstr_cmd_get("$timing? \r"), "$timing?");
    EXPECT_EQ(cmdstr_cmd_get("$model?\r"), "$model?");
    EXPECT_EQ(cmdstr_cmd_get("$cable_run start\r"), "$cable_run");
    EXPECT_EQ(cmdstr_cmd_get("$model? T27\r\n"), "$model?");
    EXPECT_EQ(cmdstr_cmd_get("$noend"), "");
    EXPECT_EQ(cmdstr_cmd_get("model? x\r"), "");
    EXPECT_EQ(cmdstr_cmd_get(""), "");
    EXPECT_EQ(cmdstr_cmd_get("$\r"), "$");
}

// Typed text becomes the unit's one-byte characters the same way for the
// window and t27ctl; what cannot travel as one such character is refused.
TEST(RequestText, TypedTextIsLatin1OrRefusedWithTheReason) {
    struct Row {
        std::string utf8;
        const char* bytes;  // nullptr: refused
        const char* why;
    };
    const Row rows[] = {
        {"", "", ""},
        {"HELLO world", "HELLO world", ""},
        {"caf\xC3\xA9 \xC3\xBF", "caf\xE9 \xFF", ""},
        {"a\rb", nullptr, "control characters (CR found)"},
        {"a\nb", nullptr, "(LF found)"},
        {"a\r\n", nullptr, "(CR found)"},
        {std::string("a\0b", 3), nullptr, "(NUL found)"},
        {"\x1B]0;x\x07", nullptr, "(ESC found)"},
        {"a\x7F", nullptr, "(DEL found)"},
        {"a\xC2\x9B", nullptr, "(0x9B found)"},  // C1 CSI
        {"\xE2\x82\xAC", nullptr, "cannot show (U+20AC)"},
        {"\xF0\x9F\x98\x80", nullptr, "cannot show (U+01F600)"},
        {"\xE9t\xE9", nullptr, "not valid text (byte 0xE9)"},  // Latin-1 bytes, not UTF-8
        {"\xC3", nullptr, "not valid text"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::PrintToString(r.utf8));
        std::string bytes = "stale", why;
        const bool ok = unit_text_from_utf8(r.utf8, bytes, why, "The text");
        EXPECT_EQ(ok, r.bytes != nullptr);
        if (ok) {
            EXPECT_EQ(bytes, r.bytes);
        } else {
            EXPECT_TRUE(bytes.empty());
            EXPECT_NE(why.find(r.why), std::string::npos) << why;
            EXPECT_EQ(why.rfind("The text ", 0), 0u) << why;
        }
    }
    EXPECT_EQ(utf8_length("caf\xC3\xA9"), 4u);
}

TEST(RequestText, UnitTextForATerminalCarriesNoControlCharacter) {
    EXPECT_EQ(terminal_text("T27 2.18"), "T27 2.18");
    EXPECT_EQ(terminal_text("\x1B]0;pwn\x07"), "\\x1B]0;pwn\\x07");
    EXPECT_EQ(terminal_text(std::string("a\0\r\n\x7F\x9B", 6)), "a\\x00\\x0D\\x0A\\x7F\\x9B");
    EXPECT_EQ(terminal_text("caf\xE9"), "caf\xC3\xA9");  // Latin-1 shown as UTF-8
    EXPECT_EQ(terminal_text("a\nb\x1B\n", true), "a\nb\\x1B\n");
}

}  // namespace
}  // namespace t27
