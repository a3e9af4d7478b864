#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/unit_session.h"

namespace t27::sim {
namespace {

struct Rig {
    UnitModel model;
    UnitSession session{model};

    void arm(const std::string& form) { ASSERT_EQ(arm_fault(model.faults(), form), "") << form; }
    std::vector<Emission> send(const std::string& bytes) { return session.feed(bytes); }
};

std::string joined(const std::vector<Emission>& es) {
    std::string s;
    for (const Emission& e : es) s += e.bytes;
    return s;
}

TEST(Faults, DropSwallowsExactlyTheNextNReplies) {
    Rig r;
    r.arm("drop 2");
    EXPECT_TRUE(r.send("$model?\r").empty());
    EXPECT_TRUE(r.send("$model?\r").empty());
    EXPECT_EQ(joined(r.send("$model?\r")), "$model? T27\r\n");
    // Dropped requests still took effect on the unit.
    r.arm("drop 1");
    EXPECT_TRUE(r.send("$audio_mute on\r").empty());
    EXPECT_EQ(joined(r.send("$audio_mute? \r")), "$audio_mute? on\r\n");
}

TEST(Faults, DelayStaysUntilChangedAndAppliesPerReply) {
    Rig r;
    r.arm("delay 300");
    std::vector<Emission> e = r.send("$model?\r$fwver?\r");
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].delay_ms, 300);
    EXPECT_EQ(e[1].delay_ms, 300);
    EXPECT_EQ(r.send("$model?\r").at(0).delay_ms, 300);
    r.arm("delay 0");
    EXPECT_EQ(r.send("$model?\r").at(0).delay_ms, 0);
}

TEST(Faults, UnsolicitedLineComesFirstOnce) {
    Rig r;
    r.arm("delay 50");
    r.arm("unsolicited $cable_run? stop");
    std::vector<Emission> e = r.send("$model?\r");
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].bytes, "$cable_run? stop\r\n");
    EXPECT_EQ(e[0].delay_ms, 50);
    EXPECT_EQ(e[1].bytes, "$model? T27\r\n");
    EXPECT_EQ(e[1].delay_ms, 0);
    EXPECT_EQ(joined(r.send("$model?\r")), "$model? T27\r\n");
}

TEST(Faults, ErrAndWrongWordChangeOneReply) {
    Rig r;
    r.arm("err");
    EXPECT_EQ(joined(r.send("$timing? \r")), "$timing? err\r\n");
    EXPECT_EQ(joined(r.send("$timing? \r")), "$timing? 1\r\n");
    r.arm("wrongword");
    EXPECT_EQ(joined(r.send("$timing? \r")), "$wrongword 1\r\n");
    r.arm("wrongword");
    EXPECT_EQ(joined(r.send("$fwver?\r")), "$wrongword 2.18.07\r\n");
    // A refused block read says that no block follows.
    r.arm("err");
    EXPECT_EQ(joined(r.send("$edid_read d1,block0\r")), "$edid_read err_ddc\r\n");
}

TEST(Faults, GarbageIsNoiseWithoutLineEndsBeforeTheReply) {
    Rig r;
    r.arm("garbage 40");
    std::vector<Emission> e = r.send("$model?\r");
    ASSERT_EQ(e.size(), 2u);
    ASSERT_EQ(e[0].bytes.size(), 40u);
    for (char c : e[0].bytes) {
        EXPECT_NE(c, '\r');
        EXPECT_NE(c, '\n');
        EXPECT_NE(c, '\x04');
    }
    EXPECT_EQ(e[1].bytes, "$model? T27\r\n");
    EXPECT_EQ(r.send("$model?\r").size(), 1u);
}

TEST(Faults, CloseEndsTheSessionWithoutAReply) {
    Rig r;
    r.arm("close");
    std::vector<Emission> e = r.send("$model?\r$fwver?\r");
    ASSERT_EQ(e.size(), 1u);
    EXPECT_TRUE(e[0].bytes.empty());
    EXPECT_TRUE(e[0].close_after);
    EXPECT_TRUE(r.session.closed());
    EXPECT_TRUE(r.send("$model?\r").empty());
    EXPECT_EQ(r.session.wire_log(), "$model?\r$fwver?\r$model?\r");
    // The next connection gets answers again.
    UnitSession next(r.model);
    EXPECT_EQ(joined(next.feed("$model?\r")), "$model? T27\r\n");
}

TEST(Faults, CloseMidBlockWaitsForABlockAndCutsIt) {
    Rig r;
    r.arm("close-mid-block");
    EXPECT_EQ(joined(r.send("$model?\r")), "$model? T27\r\n");
    std::vector<Emission> e = r.send("$edid_read d1,block0\r");
    ASSERT_EQ(e.size(), 1u);
    EXPECT_TRUE(e[0].close_after);
    const std::string line = "$edid_read d1,block0\r\n";
    ASSERT_GT(e[0].bytes.size(), line.size());
    EXPECT_EQ(e[0].bytes.substr(0, line.size()), line);
    std::size_t block_part = e[0].bytes.size() - line.size();
    EXPECT_GT(block_part, 0u);
    EXPECT_LT(block_part, 386u);
}

TEST(Faults, DupSendsTheReplyTwice) {
    Rig r;
    r.arm("dup");
    std::vector<Emission> e = r.send("$model?\r");
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].bytes, "$model? T27\r\n");
    EXPECT_EQ(e[1].bytes, "$model? T27\r\n");
    EXPECT_EQ(r.send("$model?\r").size(), 1u);
}

TEST(Faults, TextFormsAreCheckedAndClearDisarms) {
    FaultPlan p;
    EXPECT_NE(arm_fault(p, "drop"), "");
    EXPECT_NE(arm_fault(p, "drop -1"), "");
    EXPECT_NE(arm_fault(p, "drop x"), "");
    EXPECT_NE(arm_fault(p, "delay 1e3"), "");
    EXPECT_NE(arm_fault(p, "garbage 999999"), "");
    EXPECT_NE(arm_fault(p, "unsolicited"), "");
    EXPECT_NE(arm_fault(p, "dup 2"), "");
    EXPECT_NE(arm_fault(p, "explode"), "");
    EXPECT_FALSE(p.armed());
    EXPECT_EQ(arm_fault(p, "drop 3"), "");
    EXPECT_EQ(arm_fault(p, "dup"), "");
    EXPECT_TRUE(p.armed());
    EXPECT_EQ(arm_fault(p, "clear"), "");
    EXPECT_FALSE(p.armed());
}

TEST(Faults, SilentRequestsDoNotUseUpFaults) {
    Rig r;
    r.arm("drop 1");
    EXPECT_TRUE(r.send("\r\r").empty());
    EXPECT_TRUE(r.send("$model?\r").empty());
    EXPECT_EQ(r.send("$model?\r").size(), 1u);
}

}  // namespace
}  // namespace t27::sim
