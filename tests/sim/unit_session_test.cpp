#include "sim/unit_session.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace t27::sim {
namespace {

std::string joined(const std::vector<Emission>& es) {
    std::string s;
    for (const Emission& e : es) s += e.bytes;
    return s;
}

TEST(UnitSession, AnswersOnlyCompleteRequestsAndLogsEveryByte) {
    UnitModel model;
    UnitSession s(model);
    EXPECT_TRUE(s.feed("$mod").empty());
    std::vector<Emission> e = s.feed("el?\r\n$fwver?\r");
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].bytes, "$model? T27\r\n");
    EXPECT_EQ(e[0].delay_ms, 0);
    EXPECT_FALSE(e[0].close_after);
    EXPECT_EQ(e[1].bytes, "$fwver? 2.18.07\r\n");
    EXPECT_EQ(s.wire_log(), "$model?\r\n$fwver?\r");
}

TEST(UnitSession, SessionsShareTheModel) {
    UnitModel model;
    UnitSession a(model);
    a.feed("$task_mode pattern\r");
    UnitSession b(model);
    EXPECT_EQ(joined(b.feed("$task_mode?\r")), "$task_mode? pattern\r\n");
    EXPECT_EQ(b.wire_log(), "$task_mode?\r");
}

// Whatever arrives, every reply is a whole line of the unit's own form:
// starts with "$", ends with CR LF (a block read's data block likewise) or,
// for the command list, with EOT.
TEST(UnitSession, ArbitraryInputOnlyEverGetsWellFormedReplies) {
    const std::string pieces[] = {"$",
                                  "\r",
                                  "\n",
                                  " ",
                                  ",",
                                  "$edid_write ",
                                  "$edid_read ",
                                  "c1,block0",
                                  "d1",
                                  "sink_h",
                                  "$model?",
                                  "$help",
                                  "$audio_mute ",
                                  "on",
                                  "block1",
                                  "00 ",
                                  "FF ",
                                  "$edid_name c2,",
                                  "\x04",
                                  "\xFF"};
    std::mt19937 rng(99);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    for (int round = 0; round < 300; ++round) {
        UnitModel model;
        UnitSession s(model);
        std::string input;
        for (int i = 0; i < 200; ++i) input += pieces[pick(rng)];
        for (const Emission& e : s.feed(input)) {
            ASSERT_FALSE(e.bytes.empty());
            EXPECT_EQ(e.bytes.front(), '$') << e.bytes;
            bool line_end = e.bytes.size() >= 2 && e.bytes.substr(e.bytes.size() - 2) == "\r\n";
            EXPECT_TRUE(line_end || e.bytes.back() == '\x04') << e.bytes;
            EXPECT_FALSE(e.close_after);
            EXPECT_EQ(e.delay_ms, 0);
        }
        EXPECT_EQ(s.wire_log(), input);
    }
}

}  // namespace
}  // namespace t27::sim
