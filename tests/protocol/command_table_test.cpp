#include <gtest/gtest.h>

#include "protocol/command_table.h"

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

}  // namespace
}  // namespace t27
