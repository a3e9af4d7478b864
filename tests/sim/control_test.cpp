#include "sim/control.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/sim_options.h"
#include "sim/unit_model.h"

namespace t27::sim {
namespace {

std::string ask(UnitModel& m, const std::string& line) { return m.handle_line(line).bytes(); }

TEST(Control, SetChangesWhatTheUnitReports) {
    UnitModel m;
    EXPECT_EQ(run_control(m, "set model Vezarev Ove."), "ok");
    EXPECT_EQ(ask(m, "$model?"), "$model? Vezarev Ove.\r\n");
    EXPECT_EQ(run_control(m, "set board 2"), "ok");
    EXPECT_EQ(ask(m, "$board_id?"), "$board_id? 2\r\n");
    EXPECT_EQ(run_control(m, "set fw X"), "ok");
    EXPECT_EQ(ask(m, "$fwver?"), "$fwver? X\r\n");
    EXPECT_EQ(run_control(m, "set task cable"), "ok");
    EXPECT_EQ(ask(m, "$task_mode?"), "$task_mode? cable\r\n");
    EXPECT_EQ(run_control(m, "set source ckdt off"), "ok");
    EXPECT_EQ(ask(m, "$source_detect? ckdt"), "$source_detect? ckdt,off\r\n");
    EXPECT_EQ(run_control(m, "set sinkitem hdcp v1.4"), "ok");
    EXPECT_EQ(ask(m, "$sink_detect? hdcp"), "$sink_detect? hdcp,v1.4\r\n");
    // A scenario replaces every source item, fine-grained overrides included.
    EXPECT_EQ(run_control(m, "scenario 1080i50-ac3"), "ok");
    EXPECT_EQ(ask(m, "$source_detect? ckdt"), "$source_detect? ckdt,on\r\n");
    EXPECT_EQ(ask(m, "$source_detect? scan"), "$source_detect? scan,i\r\n");
    EXPECT_EQ(run_control(m, "set sink none\r"), "ok");
    EXPECT_EQ(m.handle_line("$edid_read sink_h,block0").line, "$edid_read err_ddc\r\n");
}

TEST(Control, RefusalsSayWhyAndChangeNothing) {
    UnitModel m;
    for (const char* bad : {"set board 256", "set board x", "set task idle", "set model a,b",
                            "set sink c1", "set colour red", "set source", "set source ckdtx off",
                            "set sinkitem hotplugx on", "scenario 1080p61", "explode", "",
                            "glitch no-signal", "glitch no-signal 0", "glitch no-signal -5",
                            "glitch no-signal 10x", "glitch nosuch 10", "glitch no-signal 3600001",
                            "glitch 100"}) {
        std::string r = run_control(m, bad);
        EXPECT_EQ(r.substr(0, 7), "error: ") << bad;
    }
    EXPECT_EQ(ask(m, "$model?"), "$model? T27\r\n");
    EXPECT_EQ(ask(m, "$board_id?"), "$board_id? 0\r\n");
    EXPECT_EQ(m.state().source_items.count("ckdtx"), 0u);
    EXPECT_EQ(m.state().scenario, "1080p60");
    EXPECT_FALSE(m.faults().armed());
}

// A dropout of exactly the asked length, on the unit's clock: the reply made
// in its last millisecond sees it, the next one does not; a new glitch or
// scenario ends a running one, and each start and end is logged once.
TEST(Control, GlitchSwitchesForItsMillisecondsAndBack) {
    UnitModel m;
    std::int64_t now = 1000;
    m.set_clock([&now] { return now; });
    std::vector<std::pair<std::int64_t, std::string>> log;
    m.set_glitch_log([&log](std::int64_t at, const std::string& l) { log.emplace_back(at, l); });
    const std::string on = "$source_detect? 5v,on\r\n", off = "$source_detect? 5v,off\r\n";

    EXPECT_EQ(run_control(m, "glitch no-signal 100"), "ok");
    EXPECT_EQ(ask(m, "$source_detect? 5v"), off);
    now = 1099;
    EXPECT_EQ(ask(m, "$source_detect? 5v"), off);
    EXPECT_EQ(m.glitch_left_ms(), 1);
    now = 1100;
    EXPECT_EQ(ask(m, "$source_detect? 5v"), on);
    EXPECT_EQ(m.state().scenario, "1080p60");
    EXPECT_EQ(m.state().source_items.at("timingx"), "1920x1080p60");
    EXPECT_FALSE(m.glitch_left_ms());

    // Found late by the front end: still ended at its planned millisecond.
    EXPECT_EQ(run_control(m, "glitch 720p60-dvi 20"), "ok");
    now = 1500;
    m.settle_glitch();
    // Cut short by another glitch, then by a scenario.
    EXPECT_EQ(run_control(m, "glitch no-signal 50"), "ok");
    now = 1510;
    EXPECT_EQ(run_control(m, "glitch 1080p24-hbr 50"), "ok");
    EXPECT_EQ(ask(m, "$source_detect? hbr"), "$source_detect? hbr,on\r\n");
    EXPECT_EQ(run_control(m, "scenario 480p-avmute"), "ok");
    now = 5000;
    EXPECT_EQ(ask(m, "$source_detect? timingx"), "$source_detect? timingx,720x480p59.94\r\n");

    const std::vector<std::pair<std::int64_t, std::string>> expected = {
        {1000, "glitch no-signal 100 ms: start (back to 1080p60)"},
        {1100, "glitch no-signal: end"},
        {1100, "glitch 720p60-dvi 20 ms: start (back to 1080p60)"},
        {1120, "glitch 720p60-dvi: end"},
        {1500, "glitch no-signal 50 ms: start (back to 1080p60)"},
        {1510, "glitch no-signal: end (cut short)"},
        {1510, "glitch 1080p24-hbr 50 ms: start (back to 1080p60)"},
        {1510, "glitch 1080p24-hbr: end (cut short)"},
    };
    EXPECT_EQ(log, expected);
}

TEST(Control, FaultFormsArmTheSharedPlan) {
    UnitModel m;
    EXPECT_EQ(run_control(m, "drop 1"), "ok");
    EXPECT_EQ(m.faults().drop, 1);
    EXPECT_EQ(run_control(m, "unsolicited $x y"), "ok");
    ASSERT_EQ(m.faults().unsolicited.size(), 1u);
    EXPECT_EQ(m.faults().unsolicited[0], "$x y");
    EXPECT_EQ(run_control(m, "drop one").substr(0, 7), "error: ");
    EXPECT_EQ(run_control(m, "clear"), "ok");
    EXPECT_FALSE(m.faults().armed());
}

TEST(SimOptions, DefaultsAndChoices) {
    SimOptions o;
    ASSERT_EQ(parse_options({}, o), "");
    EXPECT_TRUE(o.tcp);
    EXPECT_EQ(o.listen.host, "127.0.0.1");
    EXPECT_EQ(o.listen.port, 23);
    EXPECT_FALSE(o.pty);
    EXPECT_EQ(o.baud, -1);

    SimOptions p;
    ASSERT_EQ(parse_options({"--listen", "127.0.0.2:0", "--pty-link", "/tmp/x", "--baud", "0",
                             "--fault", "drop 1", "--fault", "dup", "--discovery",
                             "127.0.0.1:31001", "--discovery-malformed", "overrun", "--board", "1"},
                            p),
              "");
    EXPECT_EQ(p.listen.host, "127.0.0.2");
    EXPECT_EQ(p.listen.port, 0);
    EXPECT_TRUE(p.pty);
    EXPECT_EQ(p.baud, 0);
    EXPECT_EQ(p.faults, (std::vector<std::string>{"drop 1", "dup"}));
    EXPECT_EQ(p.discovery_at.port, 31001);
    EXPECT_EQ(p.board, 1);
}

TEST(SimOptions, BadOptionsAreNamed) {
    const std::vector<std::vector<std::string>> bad = {
        {"--listen", "localhost:23"},
        {"--listen", "127.0.0.1:70000"},
        {"--listen"},
        {"--baud", "fast"},
        {"--discovery-malformed", "x"},
        {"--board", "-1"},
        {"--listen", "none"},
        {"--frobnicate"},
    };
    for (const auto& args : bad) {
        SimOptions o;
        std::string err = parse_options(args, o);
        EXPECT_NE(err, "") << args[0];
    }
    SimOptions o;
    EXPECT_EQ(parse_options({"--listen", "none", "--pty"}, o), "");
    EXPECT_FALSE(o.tcp);
}

}  // namespace
}  // namespace t27::sim
