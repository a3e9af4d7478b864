// The Cable Test tab's decisions without widgets: the time list, the requests,
// the eight reply rules and the progress bar.
#include <gtest/gtest.h>

#include "cable/cable_commands.h"
#include "cable/cable_progress.h"
#include "cable/cable_reply.h"
#include "cable/cable_text.h"
#include "cable/cable_times.h"
#include "protocol/command_table.h"

namespace t27 {
namespace {

// fra_cable 3000 twips wide, arrow 900: the arrow may stand at 0..2100.
constexpr CableGeometry small_frame{3000, 900};

TEST(CableTimes, ListTextsValuesAndDurations) {
    const char* texts[] = {" 2 minutes", " 5 minutes", "10 minutes", "15 minutes",
                           "30 minutes", " 1 hour",    "Infinite"};
    const int seconds[] = {120, 300, 600, 900, 1800, 3600};
    for (int i = 0; i < cable_time_count; ++i) {
        ASSERT_NE(cable_time_at(i), nullptr);
        EXPECT_STREQ(cable_time_at(i)->text, texts[i]);
        EXPECT_EQ(cable_time_value(i), i + 1);
        if (i < 6)
            EXPECT_EQ(cable_duration_s(i), seconds[i]) << i;
        else
            EXPECT_FALSE(cable_duration_s(i).has_value());
    }
    EXPECT_EQ(cable_time_at(-1), nullptr);
    EXPECT_EQ(cable_time_at(7), nullptr);
    EXPECT_FALSE(cable_duration_s(-1).has_value());
}

TEST(CableTimes, ReplyValueNamesAnEntryOnlyInsideOneToSeven) {
    EXPECT_EQ(cable_time_entry_of("1"), 0);
    EXPECT_EQ(cable_time_entry_of("7"), 6);
    EXPECT_EQ(cable_time_entry_of(" 3 "), 2);
    for (const char* bad : {"0", "8", "-1", "", "None", "3a", "99999999999"})
        EXPECT_FALSE(cable_time_entry_of(bad).has_value()) << bad;
}

TEST(CableText, UpperCaseFollowsLatin1) {
    EXPECT_EQ(upper_text("normal"), "NORMAL");
    EXPECT_EQ(upper_text("Pass 2"), "PASS 2");
    // é → É, ÷ (0xF7) stays, ÿ (0xFF) has no capital in Latin-1.
    EXPECT_EQ(upper_text("\xE9t\xE9\xF7\xFF"), "\xC9T\xC9\xF7\xFF");
}

TEST(CableText, DecimalNumbers) {
    EXPECT_EQ(parse_decimal("12"), 12);
    EXPECT_EQ(parse_decimal(" -5 "), -5);
    EXPECT_EQ(parse_decimal("+7"), 7);
    EXPECT_EQ(parse_decimal("999999999"), 999999999);
    for (const char* bad : {"", " ", "-", "1x", "1 2", "1234567890", "None"})
        EXPECT_FALSE(parse_decimal(bad).has_value()) << bad;
}

TEST(CableCommands, PollListIsTheEightQueries) {
    std::vector<std::string> sent;
    for (int index : cable_poll_list()) sent.push_back(command_text(index));
    EXPECT_EQ(sent, (std::vector<std::string>{"$cable_level?", "$cable_run?", "$cable_result?",
                                              "$cable_time?", "$timer_day?", "$timer_hour?",
                                              "$timer_minute?", "$timer_second?"}));
}

TEST(CableCommands, RequestLines) {
    EXPECT_EQ(cable_run_request(true), "$cable_run start\r");
    EXPECT_EQ(cable_run_request(false), "$cable_run stop\r");
    EXPECT_EQ(cable_time_request(4), "$cable_time 5\r");  // "30 minutes"
    EXPECT_EQ(cable_time_request(6), "$cable_time 7\r");
}

// The level toggle asks for the other level than the unit reported; a label
// never read, or anything but "NORMAL", asks for normal.
TEST(CableLevel, ReportedLevelDecidesTheRequest) {
    CableView v;
    EXPECT_EQ(cable_level_request(v.level), "$cable_level normal\r");
    cable_reply_show(v, cmd_cable_level_query, "normal", small_frame);
    EXPECT_EQ(v.level, "NORMAL");
    EXPECT_EQ(cable_level_request(v.level), "$cable_level strict\r");
    cable_reply_show(v, cmd_cable_level_query, "strict", small_frame);
    EXPECT_EQ(v.level, "STRICT");
    EXPECT_EQ(cable_level_request(v.level), "$cable_level normal\r");
    EXPECT_EQ(cable_level_request("normal"), "$cable_level normal\r");
}

TEST(CableReply, ResultIsShownInUpperCase) {
    CableView v;
    cable_reply_show(v, cmd_cable_result_query, "fail", small_frame);
    EXPECT_EQ(v.result, "FAIL");
}

TEST(CableReply, RunStateSetsBothButtonsAndLocksTheChoices) {
    CableView v;
    cable_reply_show(v, cmd_cable_run_query, "start", small_frame);
    EXPECT_TRUE(v.running());
    EXPECT_FALSE(v.start_enabled);
    EXPECT_EQ(v.start_border, 12632256u);
    EXPECT_TRUE(v.stop_enabled);
    EXPECT_EQ(v.stop_border, 0u);
    EXPECT_FALSE(v.time_enabled);
    EXPECT_FALSE(v.level_enabled);

    cable_reply_show(v, cmd_cable_run_query, "stop", small_frame);
    EXPECT_FALSE(v.running());
    EXPECT_EQ(v.start_border, 0u);
    EXPECT_FALSE(v.stop_enabled);
    EXPECT_EQ(v.stop_border, 12632256u);
    EXPECT_TRUE(v.time_enabled);
    EXPECT_TRUE(v.level_enabled);
}

TEST(CableReply, UnknownRunStateAndForeignIndicesChangeNothing) {
    CableView v;
    cable_reply_show(v, cmd_cable_run_query, "start", small_frame);
    const CableView before = v;
    for (const char* p : {"Start", "running", "None", ""})
        cable_reply_show(v, cmd_cable_run_query, p, small_frame);
    cable_reply_show(v, 166, "1920x1080p60", small_frame);    // "$timingx?"
    cable_reply_show(v, cmd_cable_run, "stop", small_frame);  // a set command, not polled
    EXPECT_EQ(v, before);
}

TEST(CableReply, FiniteTimeShowsBarWhileRunningAndResultWhenIdle) {
    CableView v;
    v.arrow_visible = true;  // left over from an endless test
    cable_reply_show(v, cmd_cable_time_query, "2", small_frame);
    EXPECT_EQ(v.time_entry, 1);
    EXPECT_FALSE(v.pbar_visible);
    EXPECT_TRUE(v.result_visible);
    cable_reply_show(v, cmd_cable_run_query, "start", small_frame);
    cable_reply_show(v, cmd_cable_time_query, "2", small_frame);
    EXPECT_TRUE(v.pbar_visible);
    EXPECT_FALSE(v.result_visible);
    EXPECT_FALSE(v.arrow_visible);
}

TEST(CableReply, EndlessTestMovesTheArrowOncePerReplyAndWraps) {
    CableView v;
    cable_reply_show(v, cmd_cable_result_query, "pass", small_frame);
    cable_reply_show(v, cmd_cable_time_query, "7", small_frame);
    // Idle: arrow and result shown, the arrow stands still, the result stays.
    EXPECT_TRUE(v.arrow_visible);
    EXPECT_TRUE(v.result_visible);
    EXPECT_FALSE(v.pbar_visible);
    EXPECT_EQ(v.arrow_left, 0);
    EXPECT_EQ(v.result, "PASS");

    cable_reply_show(v, cmd_cable_run_query, "start", small_frame);
    std::vector<int> lefts;
    for (int i = 0; i < 9; ++i) {
        cable_reply_show(v, cmd_cable_time_query, "7", small_frame);
        lefts.push_back(v.arrow_left);
    }
    // 2100 is the last place where the whole arrow fits; 2400 would not.
    EXPECT_EQ(lefts, (std::vector<int>{300, 600, 900, 1200, 1500, 1800, 2100, 0, 300}));
    EXPECT_EQ(v.result, "Testing");
    EXPECT_EQ(v.time_entry, 6);
    // Other replies of the cycle do not move it.
    cable_reply_show(v, cmd_timer_second_query, "5", small_frame);
    EXPECT_EQ(v.arrow_left, 300);
}

TEST(CableReply, TimeReplyIgnoredWhileTheUserHasTheList) {
    CableView v;
    v.time_entry = 2;
    cable_reply_show(v, cmd_cable_run_query, "start", small_frame);
    v.cable_time_focus = true;
    const CableView before = v;
    cable_reply_show(v, cmd_cable_time_query, "7", small_frame);
    cable_reply_show(v, cmd_cable_time_query, "1", small_frame);
    EXPECT_EQ(v, before);
}

TEST(CableReply, TimeValueWithoutAnEntryIsIgnored) {
    CableView v;
    v.time_entry = 3;
    const CableView before = v;
    for (const char* p : {"0", "8", "None", "err"})
        cable_reply_show(v, cmd_cable_time_query, p, small_frame);
    EXPECT_EQ(v, before);
}

// A finite test needs a selected entry and a running look before the clock
// fields move the bar.
CableView running_two_minutes() {
    CableView v;
    cable_reply_show(v, cmd_cable_run_query, "start", small_frame);
    cable_reply_show(v, cmd_cable_time_query, "1", small_frame);
    return v;
}

void clock(CableView& v, const char* d, const char* h, const char* m, const char* s) {
    cable_reply_show(v, cmd_timer_day_query, d, small_frame);
    cable_reply_show(v, cmd_timer_hour_query, h, small_frame);
    cable_reply_show(v, cmd_timer_minute_query, m, small_frame);
    cable_reply_show(v, cmd_timer_second_query, s, small_frame);
}

TEST(CableProgress, TwoMinuteTest) {
    CableView v = running_two_minutes();
    v.pbar_value = 123;
    clock(v, "0", "0", "1", "0");  // second 0: fields may straddle a minute
    EXPECT_EQ(v.pbar_value, 123);
    EXPECT_EQ(v.timer, (std::array<std::string, 4>{"0", "0", "1", "0"}));
    clock(v, "0", "0", "1", "30");
    EXPECT_EQ(v.pbar_value, cable_pbar_full * 90 / 120);
    cable_reply_show(v, cmd_timer_second_query, "59", small_frame);  // 0:01:59
    EXPECT_EQ(v.pbar_value, cable_pbar_full * 90 / 120);
    clock(v, "0", "0", "2", "5");
    EXPECT_EQ(v.pbar_value, cable_pbar_full);
}

TEST(CableProgress, EachFieldUpdatesAsItArrives) {
    CableView v = running_two_minutes();
    clock(v, "0", "0", "0", "30");
    EXPECT_EQ(v.pbar_value, 250);
    // The minute arrives first in its own tick; the old second still stands.
    cable_reply_show(v, cmd_timer_minute_query, "1", small_frame);
    EXPECT_EQ(v.pbar_value, 750);
}

TEST(CableProgress, OnlyWhileAFiniteTestRuns) {
    CableView idle;
    cable_reply_show(idle, cmd_cable_time_query, "1", small_frame);
    clock(idle, "0", "0", "1", "0");
    clock(idle, "0", "0", "1", "30");
    EXPECT_EQ(idle.pbar_value, 0);

    CableView endless;
    cable_reply_show(endless, cmd_cable_run_query, "start", small_frame);
    cable_reply_show(endless, cmd_cable_time_query, "7", small_frame);
    clock(endless, "0", "0", "1", "30");
    EXPECT_EQ(endless.pbar_value, 0);

    CableView no_entry;
    cable_reply_show(no_entry, cmd_cable_run_query, "start", small_frame);
    clock(no_entry, "0", "0", "1", "30");
    EXPECT_EQ(no_entry.pbar_value, 0);
}

TEST(CableProgress, LongerTestsUseHoursAndDays) {
    CableView v = running_two_minutes();
    cable_reply_show(v, cmd_cable_time_query, "6", small_frame);  // one hour
    clock(v, "0", "0", "45", "1");
    EXPECT_EQ(v.pbar_value, 1000 * 2701 / 3600);
    clock(v, "0", "1", "0", "1");
    EXPECT_EQ(v.pbar_value, 1000);
    clock(v, "1", "0", "0", "1");
    EXPECT_EQ(v.pbar_value, 1000);
}

// Whatever the unit sends, the bar stays inside its range and nothing
// overflows: a day count that carries a 32-bit sum past its end, negative
// fields and words all end in 0..full or in no update.
TEST(CableProgress, OutlandishClockFieldsStayInRange) {
    CableView v = running_two_minutes();
    clock(v, "30000", "0", "0", "1");
    EXPECT_EQ(v.pbar_value, cable_pbar_full);
    clock(v, "0", "0", "0", "-5");
    EXPECT_EQ(v.pbar_value, 0);
    v.pbar_value = 400;
    cable_reply_show(v, cmd_timer_minute_query, "None", small_frame);
    cable_reply_show(v, cmd_timer_second_query, "30", small_frame);
    EXPECT_EQ(v.pbar_value, 400);
    EXPECT_EQ(v.timer[timer_minute], "None");  // shown as it came
}

TEST(CableProgress, ElapsedAndValue) {
    EXPECT_EQ(cable_elapsed_s({"1", "2", "3", "4"}), 86400 + 7200 + 180 + 4);
    EXPECT_FALSE(cable_elapsed_s({"0", "0", "x", "4"}).has_value());
    EXPECT_EQ(cable_progress_value(90, 120, 100), 75);
    EXPECT_EQ(cable_progress_value(45, 120, 100), 37);
    EXPECT_EQ(cable_progress_value(500, 120, 100), 100);
    EXPECT_EQ(cable_progress_value(-1, 120, 100), 0);
    EXPECT_EQ(cable_progress_value(10, 0, 100), 0);
}

}  // namespace
}  // namespace t27
