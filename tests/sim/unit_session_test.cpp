#include "sim/unit_session.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace t27::sim
