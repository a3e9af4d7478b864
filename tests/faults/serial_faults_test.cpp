// Faults on the RS-232 link: t27-unit-sim's pseudo-terminal mapped as a COM
// number through com_ports.txt.
#include "tests/faults/fault_fixture.h"

namespace t27::testing {
namespace {

class SerialFaultTest : public FaultTest {
  protected:
    MainWindow& linked_over_pty(FaultSim& sim) {
        write_file("com_ports.txt", QByteArray("COM4=") + sim.announced("PTY").c_str() + "\n");
        write_settings(0, "", 4);
        MainWindow& w = open_window();
        find<QPushButton>("cmd_rs232_open")->click();
        EXPECT_TRUE(wait_until([&] { return linked(); }, 10000));
        return w;
    }
};

TEST_F(SerialFaultTest, DroppedAndErrorRepliesOnThePty) {
    FaultSim sim;
    ASSERT_TRUE(sim.start({"--listen", "none", "--pty"}, wire_log()));
    MainWindow& w = linked_over_pty(sim);
    ASSERT_TRUE(linked());
    LatenessProbe probe;

    const int before = requests_seen("$fwver?\r");
    ASSERT_EQ(sim.control("drop 1"), "ok");
    w.engine().cmdtx_str("$fwver?\r");
    EXPECT_EQ(w.link().cmdrx_status, ReplyStatus::Accepted);
    EXPECT_EQ(requests_seen("$fwver?\r") - before, 2);

    ASSERT_EQ(sim.control("err"), "ok");
    w.engine().cmdtx_str("$fwver?\r");
    EXPECT_EQ(w.link().cmdrx_status, ReplyStatus::ErrorReply);

    ASSERT_EQ(sim.control("garbage 100"), "ok");
    w.engine().cmdtx_str("$fwver?\r");
    w.engine().cmdtx_str("$model?\r");
    EXPECT_EQ(w.link().cmdrx_status, ReplyStatus::Accepted);
    EXPECT_TRUE(w.link().serial_open);
    EXPECT_TRUE(dialogs.messages.empty());
    expect_responsive(probe);
}

TEST_F(SerialFaultTest, PseudoTerminalVanishesDuringAMonitorPoll) {
    FaultSim sim;
    ASSERT_TRUE(sim.start({"--listen", "none", "--pty"}, wire_log()));
    MainWindow& w = linked_over_pty(sim);
    ASSERT_TRUE(linked());
    find<QPushButton>("cmd_main_4")->click();
    ASSERT_TRUE(wait_until([&] { return w.tim_monitor().isActive(); }));
    const int polls = read_file("wire.log").count('\r');
    ASSERT_TRUE(wait_until([&] { return read_file("wire.log").count('\r') > polls + 3; }));
    LatenessProbe probe;

    // The process behind the device dies: the port is closed quietly.
    sim.kill_now();
    ASSERT_TRUE(wait_until([&] { return !w.link().serial_open; }, 5000));
    run_events_for(1000);
    EXPECT_EQ(find<QPushButton>("cmd_rs232_open")->toolTip(), "Click to connect unit");
    EXPECT_FALSE(w.link().cmdtx_busy);
    expect_responsive(probe);
    // A poll already under way may end as "No response"; nothing is refused
    // with a message box every tick.
    EXPECT_LE(dialogs.messages.size(), 1u);
}

}  // namespace
}  // namespace t27::testing
