// The simulated unit's cable test on a virtual clock: timed and endless
// tests, verdicts by cable and level, the time scale, and the protocol.
#include <gtest/gtest.h>

#include "sim/cable_test.h"
#include "sim/control.h"
#include "sim/sim_options.h"
#include "sim/unit_model.h"

namespace t27::sim {
namespace {

std::string clock_of(const CableTest& t, std::int64_t now) {
    const CableClock c = t.clock(now);
    return std::to_string(c.day) + ":" + std::to_string(c.hour) + ":" + std::to_string(c.minute) +
           ":" + std::to_string(c.second);
}

TEST(SimCableTest, TimedTestPassesAtItsEndAndTheClockStops) {
    CableTest t;
    EXPECT_EQ(t.result(), "none");
    EXPECT_EQ(clock_of(t, 5000), "0:0:0:0");
    ASSERT_TRUE(t.start(1000, 1, false));
    t.update(61000);
    EXPECT_TRUE(t.running());
    EXPECT_EQ(clock_of(t, 61000), "0:0:1:0");
    t.update(120999);
    EXPECT_TRUE(t.running());
    EXPECT_EQ(t.result(), "none");
    t.update(121000);
    EXPECT_FALSE(t.running());
    EXPECT_EQ(t.result(), "pass");
    EXPECT_EQ(clock_of(t, 900000), "0:0:2:0");
}

TEST(SimCableTest, EveryTimeCodeHasItsLength) {
    const int seconds[] = {120, 300, 600, 900, 1800, 3600, 0};
    for (int code = 1; code <= 7; ++code) EXPECT_EQ(cable_test_seconds(code), seconds[code - 1]);
    EXPECT_EQ(cable_test_seconds(0), 0);
    EXPECT_EQ(cable_test_seconds(8), 0);
    CableTest t;
    t.start(0, 6, false);
    t.update(3599999);
    EXPECT_TRUE(t.running());
    EXPECT_EQ(clock_of(t, 3599999), "0:0:59:59");
    t.update(3600000);
    EXPECT_EQ(t.result(), "pass");
    EXPECT_EQ(clock_of(t, 3600000), "0:1:0:0");
}

TEST(SimCableTest, TimeScaleRunsTheTestFasterAndKeepsTimeAlreadyRun) {
    CableTest t;
    t.set_time_scale(0, 60);
    t.start(0, 1, false);
    t.update(1000);
    EXPECT_EQ(clock_of(t, 1000), "0:0:1:0");
    t.update(2000);
    EXPECT_EQ(t.result(), "pass");

    CableTest u;
    u.start(0, 7, false);
    u.set_time_scale(10000, 10);  // 10 s run at real time
    EXPECT_EQ(clock_of(u, 11000), "0:0:0:20");
    u.set_time_scale(11000, 0);  // below 1 counts as 1
    EXPECT_EQ(u.time_scale(), 1);
    EXPECT_EQ(clock_of(u, 12000), "0:0:0:21");
}

TEST(SimCableTest, VerdictFollowsCableAndLevel) {
    struct Case {
        CableQuality cable;
        bool strict;
        const char* result;
        const char* stopped_at;
    };
    const Case cases[] = {
        {CableQuality::good, true, "pass", "0:0:2:0"},
        {CableQuality::marginal, false, "pass", "0:0:2:0"},
        {CableQuality::marginal, true, "fail", "0:0:0:45"},
        {CableQuality::bad, false, "fail", "0:0:0:45"},
    };
    for (const Case& c : cases) {
        CableTest t;
        t.set_cable(c.cable, 45);
        t.start(0, 1, c.strict);
        t.update(44999);
        EXPECT_TRUE(t.running());
        t.update(500000);
        EXPECT_EQ(t.result(), c.result) << static_cast<int>(c.cable) << c.strict;
        EXPECT_EQ(clock_of(t, 500000), c.stopped_at);
    }
}

TEST(SimCableTest, EndlessTestRunsUntilStoppedOrFailed) {
    CableTest t;
    t.start(0, 7, true);
    const std::int64_t ten_days = 10LL * 86400 * 1000 + 3723000;
    t.update(ten_days);
    EXPECT_TRUE(t.running());
    EXPECT_EQ(clock_of(t, ten_days), "10:1:2:3");
    t.stop(ten_days);
    EXPECT_EQ(t.result(), "pass");

    CableTest bad;
    bad.set_cable(CableQuality::bad, 30);
    bad.start(0, 7, false);
    bad.update(31000);
    EXPECT_EQ(bad.result(), "fail");
    EXPECT_EQ(clock_of(bad, 31000), "0:0:0:30");
}

TEST(SimCableTest, StopsAndRestarts) {
    CableTest t;
    t.start(0, 2, false);
    EXPECT_FALSE(t.start(1000, 1, false));  // one test at a time
    t.stop(60000);
    EXPECT_EQ(t.result(), "none");  // a timed test cut short has no verdict
    EXPECT_EQ(clock_of(t, 99000), "0:0:1:0");
    ASSERT_TRUE(t.start(100000, 1, false));
    EXPECT_EQ(clock_of(t, 100000), "0:0:0:0");
    t.abort(110000);
    EXPECT_FALSE(t.running());
    EXPECT_EQ(t.result(), "none");
}

class SimCableProtocol : public ::testing::Test {
  protected:
    void SetUp() override {
        unit.set_clock([this] { return now; });
        unit.state().task_mode = "cable";
    }
    std::string ask(const std::string& line) { return unit.handle_line(line).line; }

    std::int64_t now = 0;
    UnitModel unit;
};

TEST_F(SimCableProtocol, RunQueriesAndVerdict) {
    EXPECT_EQ(ask("$cable_run?"), "$cable_run? stop\r\n");
    EXPECT_EQ(ask("$cable_result?"), "$cable_result? none\r\n");
    EXPECT_EQ(ask("$cable_time 1"), "$cable_time 1\r\n");
    EXPECT_EQ(ask("$cable_run start"), "$cable_run start\r\n");
    now = 90000;
    EXPECT_EQ(ask("$cable_run?"), "$cable_run? start\r\n");
    EXPECT_EQ(ask("$timer_day?"), "$timer_day? 0\r\n");
    EXPECT_EQ(ask("$timer_hour?"), "$timer_hour? 0\r\n");
    EXPECT_EQ(ask("$timer_minute?"), "$timer_minute? 1\r\n");
    EXPECT_EQ(ask("$timer_second?"), "$timer_second? 30\r\n");
    now = 130000;
    EXPECT_EQ(ask("$cable_run?"), "$cable_run? stop\r\n");
    EXPECT_EQ(ask("$cable_result?"), "$cable_result? pass\r\n");
    EXPECT_EQ(ask("$timer_minute?"), "$timer_minute? 2\r\n");
    EXPECT_EQ(ask("$timer_second?"), "$timer_second? 0\r\n");
}

TEST_F(SimCableProtocol, LevelAndTimeAreRefusedWhileATestRuns) {
    ask("$cable_level strict");
    ask("$cable_time 7");
    ASSERT_EQ(ask("$cable_run start"), "$cable_run start\r\n");
    EXPECT_EQ(ask("$cable_time 3"), "$cable_time err_busy\r\n");
    EXPECT_EQ(ask("$cable_level normal"), "$cable_level err_busy\r\n");
    EXPECT_EQ(ask("$cable_time?"), "$cable_time? 7\r\n");
    EXPECT_EQ(ask("$cable_level?"), "$cable_level? strict\r\n");
    EXPECT_EQ(ask("$cable_run start"), "$cable_run start\r\n");  // already running
    EXPECT_EQ(ask("$cable_run stop"), "$cable_run stop\r\n");
    EXPECT_EQ(ask("$cable_time 3"), "$cable_time 3\r\n");
    EXPECT_EQ(ask("$cable_time 8"), "$cable_time err_param\r\n");
}

TEST_F(SimCableProtocol, OnlyInCableModeAndLeavingItEndsTheTest) {
    EXPECT_EQ(ask("$cable_run go"), "$cable_run err_param\r\n");
    unit.state().task_mode = "analyser";
    EXPECT_EQ(ask("$cable_run start"), "$cable_run err_mode\r\n");
    unit.state().task_mode = "cable";
    ask("$cable_time 7");
    ask("$cable_run start");
    now = 5000;
    EXPECT_EQ(ask("$task_mode pattern"), "$task_mode pattern\r\n");
    EXPECT_EQ(ask("$cable_run?"), "$cable_run? stop\r\n");
    EXPECT_EQ(ask("$cable_result?"), "$cable_result? none\r\n");

    unit.state().task_mode = "cable";
    ask("$cable_run start");
    ask("$factory");
    EXPECT_EQ(ask("$cable_run?"), "$cable_run? stop\r\n");
}

TEST_F(SimCableProtocol, ControlSetsScaleAndCable) {
    EXPECT_EQ(run_control(unit, "set time-scale 60"), "ok");
    EXPECT_EQ(run_control(unit, "set cable bad 10"), "ok");
    ask("$cable_time 2");
    ask("$cable_run start");
    now = 100;  // 6 s of test time
    EXPECT_EQ(ask("$timer_second?"), "$timer_second? 6\r\n");
    now = 1000;
    EXPECT_EQ(ask("$cable_result?"), "$cable_result? fail\r\n");
    EXPECT_EQ(ask("$timer_second?"), "$timer_second? 10\r\n");

    EXPECT_EQ(unit.state().cable.time_scale(), 60);
    for (const char* bad : {"set time-scale 0", "set time-scale x", "set time-scale 1000001",
                            "set cable awful", "set cable bad 0", "set cable bad x"})
        EXPECT_EQ(run_control(unit, bad).rfind("error: ", 0), 0u) << bad;
    EXPECT_EQ(unit.state().cable.cable(), CableQuality::bad);
    EXPECT_EQ(unit.state().cable.fail_after_s(), 10);
}

TEST(SimCableOptions, TimeScaleAndCableArePassedOn) {
    SimOptions o;
    ASSERT_EQ(parse_options({"--time-scale", "120", "--cable", "marginal 20"}, o), "");
    EXPECT_EQ(o.time_scale, "120");
    EXPECT_EQ(o.cable, "marginal 20");
    SimOptions missing;
    EXPECT_NE(parse_options({"--time-scale"}, missing), "");
}

}  // namespace
}  // namespace t27::sim
