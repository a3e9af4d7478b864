#include "sim/unit_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "protocol/command_table.h"
#include "sim/settings_table.h"

namespace t27::sim {
namespace {

std::string ask(UnitModel& m, const std::string& line) { return m.handle_line(line).bytes(); }

TEST(UnitModelIdentity, LinkQueriesAnswerWithTheirOwnWord) {
    UnitModel m;
    EXPECT_EQ(ask(m, "$model?"), "$model? T27\r\n");
    EXPECT_EQ(ask(m, "$board_id?"), "$board_id? 0\r\n");
    // The command table's form with a trailing blank gets the same answer.
    EXPECT_EQ(ask(m, "$board_id? "), "$board_id? 0\r\n");
    EXPECT_EQ(ask(m, "$fwver?"), "$fwver? 2.18.07\r\n");
    EXPECT_EQ(ask(m, "$task_mode?"), "$task_mode? analyser\r\n");
    EXPECT_EQ(ask(m, "$boot?").substr(0, 7), "$boot? ");

    m.state().identity = Identity{"T28", 1, "3.01.00"};
    EXPECT_EQ(ask(m, "$model?"), "$model? T28\r\n");
    EXPECT_EQ(ask(m, "$board_id?"), "$board_id? 1\r\n");
    EXPECT_EQ(ask(m, "$fwver?"), "$fwver? 3.01.00\r\n");
}

TEST(UnitModelIdentity, TaskModeSwitchesAndRefusesUnknownModes) {
    UnitModel m;
    EXPECT_EQ(ask(m, "$task_mode cable"), "$task_mode cable\r\n");
    EXPECT_EQ(ask(m, "$task_mode?"), "$task_mode? cable\r\n");
    EXPECT_EQ(ask(m, "$task_mode pattern"), "$task_mode pattern\r\n");
    EXPECT_EQ(ask(m, "$task_mode Pattern").substr(0, 14), "$task_mode err");
    EXPECT_EQ(ask(m, "$task_mode").substr(0, 14), "$task_mode err");
    EXPECT_EQ(m.state().task_mode, "pattern");
}

TEST(UnitModelIdentity, HelpSpansLinesAndEndsWithEot) {
    UnitModel m;
    for (const char* word : {"$?", "$help"}) {
        std::string r = ask(m, word);
        ASSERT_FALSE(r.empty());
        EXPECT_EQ(r.back(), '\x04');
        EXPECT_EQ(r.find('\x04'), r.size() - 1) << "EOT only at the end";
        EXPECT_GT(std::count(r.begin(), r.end(), '\n'), 10);
        EXPECT_NE(r.find("\r\n$model?\r\n"), std::string::npos);
    }
}

TEST(UnitModelErrors, UnknownCommandsAnswerWithTheirWordAndErr) {
    UnitModel m;
    EXPECT_EQ(ask(m, "$foo"), "$foo err_cmd\r\n");
    EXPECT_EQ(ask(m, "$foo bar,baz"), "$foo err_cmd\r\n");
    // Without a command word there is nothing to echo; the reply still
    // starts with "$" and its first parameter with "err".
    EXPECT_EQ(ask(m, "hello"), "$err err_cmd\r\n");
    EXPECT_TRUE(m.handle_line("").silent);
}

TEST(UnitModelSettings, SetStoresAndEchoesQueryReportsIt) {
    UnitModel m;
    EXPECT_EQ(ask(m, "$audio_mute? "), "$audio_mute? off\r\n");
    EXPECT_EQ(ask(m, "$audio_mute on"), "$audio_mute on\r\n");
    EXPECT_EQ(ask(m, "$audio_mute? "), "$audio_mute? on\r\n");
    // Queries without a trailing blank in the table work the same way.
    EXPECT_EQ(ask(m, "$deep_color 12"), "$deep_color 12\r\n");
    EXPECT_EQ(ask(m, "$deep_color?"), "$deep_color? 12\r\n");
    EXPECT_EQ(ask(m, "$hdr_tx_col 10"), "$hdr_tx_col 10\r\n");
    EXPECT_EQ(ask(m, "$color_cal_red 007"), "$color_cal_red 7\r\n");
    EXPECT_EQ(ask(m, "$color_cal_color White"), "$color_cal_color white\r\n");
    EXPECT_EQ(ask(m, "$color_cal_color?"), "$color_cal_color? white\r\n");
    // The hot-plug toggle ends with the line high.
    EXPECT_EQ(ask(m, "$rx_hotplug toggle"), "$rx_hotplug on\r\n");
}

TEST(UnitModelSettings, RefusedValuesLeaveTheStoredOne) {
    UnitModel m;
    EXPECT_EQ(ask(m, "$audio_mute maybe"), "$audio_mute err_param\r\n");
    EXPECT_EQ(ask(m, "$audio_mute"), "$audio_mute err_param\r\n");
    EXPECT_EQ(ask(m, "$color_cal_red 256"), "$color_cal_red err_param\r\n");
    EXPECT_EQ(ask(m, "$cable_time 0"), "$cable_time err_param\r\n");
    EXPECT_EQ(ask(m, "$motion_text a,b"), "$motion_text err_param\r\n");
    EXPECT_EQ(ask(m, "$motion_text a\x04"), "$motion_text err_param\r\n");
    EXPECT_EQ(ask(m, "$motion_text 12345678901234567890"), "$motion_text 12345678901234567890\r\n");
    EXPECT_EQ(ask(m, "$motion_text 123456789012345678901"), "$motion_text err_param\r\n");
    EXPECT_EQ(ask(m, "$audio_mute? "), "$audio_mute? off\r\n");
    EXPECT_EQ(ask(m, "$color_cal_red?"), "$color_cal_red? 255\r\n");
}

// Every query of the command table that belongs to a set command gets an
// answer with its own word and a first parameter that is not an error.
TEST(UnitModelSettings, EveryTablePairIsAnswered) {
    UnitModel m;
    int pairs = 0;
    for (const std::string& entry : command_table()) {
        if (entry.empty()) continue;
        std::string word = cmdstr_cmd_get(entry + '\r');
        if (word.back() != '?') continue;
        std::string set_word = word.substr(0, word.size() - 1);
        bool has_set = false;
        for (const std::string& other : command_table())
            if (other == set_word + ' ') has_set = true;
        if (!has_set) continue;
        ++pairs;
        std::string r = ask(m, entry);
        ASSERT_EQ(r.substr(0, word.size() + 1), word + ' ') << entry;
        EXPECT_NE(r.substr(word.size() + 1, 3), "err") << entry;
        EXPECT_EQ(r.substr(r.size() - 2), "\r\n");
    }
    EXPECT_GE(pairs, 30);
}

TEST(UnitModelSettings, FactoryResetRestoresInitialValuesButNotIdentity) {
    UnitModel m;
    m.state().identity.model = "T28";
    ask(m, "$audio_mute on");
    ask(m, "$task_mode cable");
    EXPECT_EQ(ask(m, "$factory"), "$factory\r\n");
    EXPECT_EQ(ask(m, "$audio_mute? "), "$audio_mute? off\r\n");
    EXPECT_EQ(ask(m, "$task_mode?"), "$task_mode? analyser\r\n");
    EXPECT_EQ(ask(m, "$model?"), "$model? T28\r\n");
}

}  // namespace
}  // namespace t27::sim
