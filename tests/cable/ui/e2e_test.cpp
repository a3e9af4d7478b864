// Cable tests end to end: t27-unit-sim as its own process with a fast test
// clock, driven by t27ctl and by the main window over TCP on 127.0.0.1.
#include <QProcess>

#include "tests/cable/ui/cable_window.h"
#include "tests/e2e/process_support.h"

namespace t27::testing {
namespace {

QStringList sim_args(const QStringList& more) {
    return QStringList{"--listen", "127.0.0.1:0", "--model", "T28", "--quiet"} + more;
}

QStringList ctl(const SimProcess& sim, const QStringList& more) {
    return QStringList{"--tcp", QString::fromStdString(sim.listen)} + more;
}

std::string last_line(const std::string& out, const std::string& prefix) {
    std::string found;
    for (std::size_t p = out.find(prefix); p != std::string::npos; p = out.find(prefix, p + 1))
        found = out.substr(p, out.find('\n', p) - p);
    return found;
}

TEST(CableCli, FiniteTestReportsProgressAndPasses) {
    SimProcess sim;
    ASSERT_TRUE(sim.start(sim_args({"--task", "cable", "--time-scale", "120"})));
    const CtlResult r = run_ctl(ctl(sim, {"cable", "run", "--time", "1", "--level", "normal"}));
    EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("started: 2 minutes, level NORMAL\n"), std::string::npos) << r.out;
    EXPECT_GE(count_of(r.out, "progress: "), 3) << r.out;
    EXPECT_EQ(last_line(r.out, "progress: "), "progress: 0:00:02:00 100%");
    EXPECT_EQ(r.out.substr(r.out.size() - 13), "result: PASS\n");
    EXPECT_TRUE(r.err.empty()) << r.err;
}

TEST(CableCli, StrictTestOfAMarginalCableFails) {
    SimProcess sim;
    ASSERT_TRUE(
        sim.start(sim_args({"--task", "cable", "--time-scale", "120", "--cable", "marginal"})));
    const CtlResult r = run_ctl(ctl(sim, {"cable", "run", "--time", "2", "--level", "strict"}));
    EXPECT_EQ(r.exit_code, 4) << r.out << r.err;
    // A marginal cable's errors show 45 s into the five-minute test.
    EXPECT_EQ(last_line(r.out, "progress: "), "progress: 0:00:00:45 15%") << r.out;
    EXPECT_NE(r.out.find("result: FAIL\n"), std::string::npos) << r.out;
}

TEST(CableCli, EndlessTestSwitchesToCableModeAndStopsWhenAsked) {
    SimProcess sim;
    ASSERT_TRUE(sim.start(sim_args({"--time-scale", "120"})));
    const CtlResult r = run_ctl(ctl(sim, {"cable", "run", "--time", "7", "--stop-after", "90"}));
    EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("task: cable (was analyser)\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("started: Infinite, level NORMAL\n"), std::string::npos) << r.out;
    EXPECT_EQ(count_of(r.out, "%"), 0) << r.out;
    const std::string last = last_line(r.out, "progress: ");
    ASSERT_EQ(last.size(), 20u) << r.out;
    const int elapsed = std::stoi(last.substr(15, 2)) * 60 + std::stoi(last.substr(18, 2));
    // At 120 times real speed, a second of slack for a loaded machine.
    EXPECT_GE(elapsed, 90) << r.out;
    EXPECT_LT(elapsed, 210) << r.out;
    EXPECT_NE(r.out.find("result: PASS\n"), std::string::npos) << r.out;
}

TEST(CableCli, EndlessTestOfABadCableFails) {
    SimProcess sim;
    ASSERT_TRUE(
        sim.start(sim_args({"--task", "cable", "--time-scale", "120", "--cable", "bad 20"})));
    const CtlResult r = run_ctl(ctl(sim, {"cable", "run", "--time", "7"}));
    EXPECT_EQ(r.exit_code, 4) << r.out << r.err;
    EXPECT_EQ(last_line(r.out, "progress: "), "progress: 0:00:00:20") << r.out;
    EXPECT_NE(r.out.find("result: FAIL\n"), std::string::npos) << r.out;
}

TEST(CableCli, LostLinkIsNotAPass) {
    SimProcess sim;
    ASSERT_TRUE(sim.start(sim_args({"--task", "cable"})));
    QProcess p;
    p.start(QStringLiteral(T27CTL_BIN), ctl(sim, {"cable", "run", "--time", "7"}));
    ASSERT_TRUE(p.waitForStarted(5000));
    std::string out;
    while (out.find("progress: ") == std::string::npos && p.waitForReadyRead(10000))
        out += p.readAllStandardOutput().toStdString();
    ASSERT_NE(out.find("started: "), std::string::npos) << out;
    sim.proc->kill();
    ASSERT_TRUE(p.waitForFinished(15000));
    EXPECT_EQ(p.exitCode(), 2);
    const std::string err = p.readAllStandardError().toStdString();
    EXPECT_NE(err.find("lost the link to the unit"), std::string::npos) << err;
    EXPECT_EQ(p.readAllStandardOutput().toStdString().find("result:"), std::string::npos);
}

TEST(CableCli, StopEndsARunningTestAndBadOptionsAreUsageErrors) {
    SimProcess sim;
    ASSERT_TRUE(sim.start(sim_args({"--task", "cable"})));
    const CtlResult started = run_ctl(ctl(sim, {"send", "$cable_time 7", "$cable_run start"}));
    ASSERT_EQ(started.exit_code, 0) << started.out << started.err;
    const CtlResult r = run_ctl(ctl(sim, {"cable", "stop"}));
    EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("stopped\nresult: PASS\n"), std::string::npos) << r.out;

    for (const QStringList& bad :
         {QStringList{"cable", "run", "--time", "8"},
          QStringList{"cable", "run", "--level", "loose"}, QStringList{"cable", "run", "--time"},
          QStringList{"cable", "stop", "now"}, QStringList{"cable", "go"}})
        EXPECT_EQ(run_ctl(ctl(sim, bad)).exit_code, 64) << bad.join(' ').toStdString();
}

// The window against the simulator process: a two-minute test at sixty
// times real time, then an endless one.
class CableWindowE2e : public CableWindowTest {
  protected:
    MainWindow& linked_to_sim() {
        EXPECT_TRUE(sim.start(sim_args({"--task", "cable", "--time-scale", "60"})));
        const std::size_t colon = sim.listen.rfind(':');
        return linked_window(static_cast<quint16>(std::stoi(sim.listen.substr(colon + 1))));
    }
    SimProcess sim;
};

TEST_F(CableWindowE2e, FiniteThenEndlessTest) {
    linked_to_sim();
    open_cable_tab();
    ASSERT_EQ(time_list()->currentIndex(), 0);

    click(label("lab_cable_start"));
    int highest = 0;
    ASSERT_TRUE(wait_until(
        [&] {
            if (bar()->isVisible()) highest = std::max(highest, bar()->value());
            return label("lab_cable_result")->isVisible() &&
                   label("lab_cable_result")->text() == "PASS";
        },
        15000));
    EXPECT_GT(highest, 0);
    EXPECT_FALSE(bar()->isVisible());
    EXPECT_TRUE(wait_until([&] {
        return label("lab_cable_minute")->text() == "2" && label("lab_cable_second")->text() == "0";
    }));

    time_list()->setCurrentIndex(6);
    click(label("lab_cable_start"));
    QLabel* arrow = label("img_cable_arrow");
    ASSERT_TRUE(wait_until([&] { return label("lab_cable_result")->text() == "Testing"; }));
    const int first_x = arrow->x();
    ASSERT_TRUE(wait_until([&] { return arrow->x() >= first_x + 40; }));
    // The clock keeps running on the unit: past a minute at sixty times.
    ASSERT_TRUE(wait_until([&] { return label("lab_cable_minute")->text() != "0"; }, 10000));
    click(label("lab_cable_stop"));
    ASSERT_TRUE(wait_until([&] { return label("lab_cable_result")->text() == "PASS"; }));
    EXPECT_TRUE(label("lab_cable_start")->isEnabled());
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace t27::testing
