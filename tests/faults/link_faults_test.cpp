// Faults on the Ethernet link: t27-unit-sim as a child process on 127.0.0.1,
// faults armed through its control channel while the whole window runs.
#include <QRadioButton>
#include <QTreeWidget>

#include "edid/ui/edid_tab.h"
#include "tests/faults/fault_fixture.h"

namespace t27::testing {
namespace {

EdidTab* edid_tab(MainWindow& w) {
    for (QObject* o : w.tab_frame(0)->children())
        if (auto* t = dynamic_cast<EdidTab*>(o)) return t;
    return nullptr;
}

TEST_F(FaultTest, DroppedRepliesAreAskedAgainThenGiveNoResponse) {
    FaultSim sim;
    ASSERT_TRUE(sim.start({"--listen", "127.0.0.1:0"}, wire_log()));
    MainWindow& w = linked_over_tcp(sim);
    ASSERT_TRUE(linked());
    LatenessProbe probe;

    // One reply swallowed: the second attempt gets the answer.
    const int before = requests_seen("$fwver?\r");
    ASSERT_EQ(sim.control("drop 1"), "ok");
    w.engine().cmdtx_str("$fwver?\r");
    EXPECT_EQ(w.link().cmdrx_status, ReplyStatus::Accepted);
    EXPECT_EQ(requests_seen("$fwver?\r") - before, 2);
    EXPECT_EQ(link_caption(), "Accepted");

    // Both swallowed: "No response", but the connection stays and the next
    // request is answered.
    ASSERT_EQ(sim.control("drop 2"), "ok");
    w.engine().cmdtx_str("$fwver?\r");
    EXPECT_EQ(w.link().cmdrx_status, ReplyStatus::NoResponse);
    EXPECT_EQ(link_caption(), "No response");
    EXPECT_TRUE(w.link().ethernet_connected);
    w.engine().cmdtx_str("$model?\r");
    EXPECT_EQ(w.link().cmdrx_status, ReplyStatus::Accepted);
    EXPECT_EQ(w.link().cmdrx_param1, "T27");

    EXPECT_TRUE(dialogs.messages.empty());
    expect_responsive(probe);
}

TEST_F(FaultTest, LateDuplicatedAndUnsolicitedReplies) {
    FaultSim sim;
    ASSERT_TRUE(sim.start({"--listen", "127.0.0.1:0"}, wire_log()));
    MainWindow& w = linked_over_tcp(sim);
    ASSERT_TRUE(linked());
    LatenessProbe probe;

    // A reply a second late is still inside the 3.2 s wait: sent once.
    const int before = requests_seen("$board_id?\r");
    ASSERT_EQ(sim.control("delay 1000"), "ok");
    w.engine().cmdtx_str("$board_id?\r");
    EXPECT_EQ(w.link().cmdrx_status, ReplyStatus::Accepted);
    EXPECT_EQ(requests_seen("$board_id?\r") - before, 1);
    ASSERT_EQ(sim.control("delay 0"), "ok");

    // A reply sent twice: the copy is dropped with the end of its batch or
    // by the next send's reset, so the next request reads its own reply.
    ASSERT_EQ(sim.control("dup"), "ok");
    w.engine().cmdtx_str("$fwver?\r");
    EXPECT_EQ(w.link().cmdrx_status, ReplyStatus::Accepted);
    w.engine().cmdtx_str("$model?\r");
    EXPECT_EQ(w.link().cmdrx_status, ReplyStatus::Accepted);
    EXPECT_EQ(w.link().cmdrx_param1, "T27");

    // A line nobody asked for arrives first: its command word differs, so the
    // request ends as an error reply (the caption still says "Accepted").
    ASSERT_EQ(sim.control("unsolicited $alarm? 1"), "ok");
    w.engine().cmdtx_str("$model?\r");
    EXPECT_EQ(w.link().cmdrx_status, ReplyStatus::ErrorReply);
    EXPECT_EQ(w.link().cmdrx_str.substr(0, 10), "$alarm? 1\r");
    EXPECT_EQ(link_caption(), "Accepted");
    w.engine().cmdtx_str("$model?\r");
    EXPECT_EQ(w.link().cmdrx_status, ReplyStatus::Accepted);

    EXPECT_TRUE(dialogs.messages.empty());
    expect_responsive(probe);
}

TEST_F(FaultTest, ErrorWrongWordAndGarbageRepliesLeaveTheLinkUsable) {
    FaultSim sim;
    ASSERT_TRUE(sim.start({"--listen", "127.0.0.1:0"}, wire_log()));
    MainWindow& w = linked_over_tcp(sim);
    ASSERT_TRUE(linked());
    LatenessProbe probe;

    ASSERT_EQ(sim.control("err"), "ok");
    w.engine().cmdtx_str("$fwver?\r");
    EXPECT_EQ(w.link().cmdrx_status, ReplyStatus::ErrorReply);
    EXPECT_EQ(link_caption(), "Accepted");

    ASSERT_EQ(sim.control("wrongword"), "ok");
    w.engine().cmdtx_str("$fwver?\r");
    EXPECT_EQ(w.link().cmdrx_status, ReplyStatus::ErrorReply);

    // Noise in front of the reply spoils that reply's command word (or ends
    // it early at a stray CR LF); never a hang, and the next one is clean.
    ASSERT_EQ(sim.control("garbage 200"), "ok");
    w.engine().cmdtx_str("$fwver?\r");
    EXPECT_NE(w.link().cmdrx_status, ReplyStatus::NotSent);
    w.engine().cmdtx_str("$model?\r");
    EXPECT_EQ(w.link().cmdrx_status, ReplyStatus::Accepted);
    EXPECT_EQ(w.link().cmdrx_param1, "T27");

    EXPECT_TRUE(w.link().ethernet_connected);
    EXPECT_NE(w.unit().model_family, not_known);
    EXPECT_TRUE(dialogs.messages.empty());
    expect_responsive(probe);
}

TEST_F(FaultTest, ConnectionClosedInsideAnEdidBlockReconnectsQuietly) {
    FaultSim sim;
    ASSERT_TRUE(sim.start({"--listen", "127.0.0.1:0"}, wire_log()));
    MainWindow& w = linked_over_tcp(sim);
    ASSERT_TRUE(linked());
    find<QPushButton>("cmd_main_0")->click();
    EdidTab* tab = edid_tab(w);
    ASSERT_NE(tab, nullptr);
    LatenessProbe probe;

    ASSERT_EQ(sim.control("close-mid-block"), "ok");
    find<QPushButton>("cmd_read_0")->click();
    // The read ends without a message; the window does not hold half a block.
    EXPECT_FALSE(w.link().block_follows);
    EXPECT_FALSE(w.link().cmdtx_busy);
    EXPECT_EQ(tab->panel(edid_read_side).text->text().find("??"), std::string::npos);

    // The unit is still listening: one reconnect, then the clock links again.
    ASSERT_TRUE(wait_until([&] { return linked() && w.link().ethernet_connected; }, 10000));
    // The new connection un-links the unit until the clock links it again, so
    // the rest of the interrupted read is refused with the link message; the
    // connection itself is restored without one.
    ASSERT_LE(dialogs.messages.size(), 1u);
    if (!dialogs.messages.empty()) EXPECT_EQ(dialogs.messages[0], "Do [Refresh] or [Link] first !");
    find<QPushButton>("cmd_read_0")->click();
    EXPECT_EQ(w.link().cmdrx_status, ReplyStatus::Accepted);
    EXPECT_FALSE(tab->panel(edid_read_side).text->text().empty());
    expect_responsive(probe);
}

TEST_F(FaultTest, SimulatorKilledDuringAMonitorPoll) {
    FaultSim sim;
    ASSERT_TRUE(sim.start({"--listen", "127.0.0.1:0"}, wire_log()));
    MainWindow& w = linked_over_tcp(sim);
    ASSERT_TRUE(linked());
    find<QPushButton>("cmd_main_4")->click();
    ASSERT_TRUE(wait_until([&] { return w.tim_monitor().isActive(); }));
    const int polls = read_file("wire.log").count('\r');
    ASSERT_TRUE(wait_until([&] { return read_file("wire.log").count('\r') > polls + 5; }));
    LatenessProbe probe;

    // Killed while a poll waits for its reply: the wait runs events, so a
    // timer sees the transaction from inside.
    bool killed = false;
    QTimer killer;
    QObject::connect(&killer, &QTimer::timeout, [&] {
        if (!w.link().cmdtx_busy || killed) return;
        killed = true;
        sim.kill_now();
    });
    killer.start(3);
    ASSERT_TRUE(wait_until([&] { return killed; }, 3000));
    // Closed by the peer: one reconnect attempt that fails, then one message.
    ASSERT_TRUE(wait_until([&] { return !dialogs.messages.empty(); }, 10000))
        << "connected " << w.link().ethernet_connected << " socket " << w.tcp().socket().state()
        << " busy " << w.link().cmdtx_busy << " poll " << w.state().poll_busy << " link "
        << link_caption();
    EXPECT_EQ(dialogs.messages[0], "Ethernet is disconnected !!");
    EXPECT_FALSE(w.link().ethernet_connected);
    EXPECT_EQ(link_caption(), "Not Linked");
    EXPECT_EQ(find<QPushButton>("cmd_eth_open")->toolTip(), "Click to connect unit");
    // The poll stops instead of refusing a request every 20 ms.
    run_events_for(1500);
    EXPECT_EQ(dialogs.messages.size(), 1u) << ::testing::PrintToString(dialogs.messages);
    EXPECT_FALSE(w.link().cmdtx_busy);
    // The grace wait of the reconnect runs events, so the probe keeps ticking.
    expect_responsive(probe);
}

// The unit closes the connection while the Monitor polls: the window
// reconnects, identifies the unit again and goes on polling by itself.
TEST_F(FaultTest, ConnectionClosedDuringAMonitorPollLinksAndPollsAgain) {
    FaultSim sim;
    ASSERT_TRUE(sim.start({"--listen", "127.0.0.1:0"}, wire_log()));
    MainWindow& w = linked_over_tcp(sim);
    ASSERT_TRUE(linked());
    find<QPushButton>("cmd_main_4")->click();
    ASSERT_TRUE(wait_until([&] { return w.tim_monitor().isActive(); }));
    const int polls = read_file("wire.log").count('\r');
    ASSERT_TRUE(wait_until([&] { return read_file("wire.log").count('\r') > polls + 5; }));

    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        const QByteArray before = read_file("wire.log");
        ASSERT_EQ(sim.control("close"), "ok");
        // The link sequence, then the poll again, on the wire within 10 s.
        auto since = [&] { return read_file("wire.log").mid(before.size()); };
        ASSERT_TRUE(wait_until(
            [&] {
                const QByteArray s = since();
                const qsizetype model = s.indexOf("$model?\r");
                return model >= 0 && s.indexOf("$task_mode?\r", model) >= 0 &&
                       s.mid(model).count('\r') > 12;
            },
            10000))
            << "connected " << w.link().ethernet_connected << " family "
            << w.unit().model_family << " busy " << w.link().cmdtx_busy << " poll "
            << w.state().poll_busy << " timer " << w.tim_monitor().isActive() << " link "
            << link_caption() << "\n"
            << since().toStdString();
        EXPECT_TRUE(linked());
        EXPECT_EQ(link_caption(), "Accepted");
        EXPECT_TRUE(w.tim_monitor().isActive() || w.state().poll_busy);
    }
    EXPECT_TRUE(dialogs.messages.empty()) << ::testing::PrintToString(dialogs.messages);
}

class LyingDiscovery : public FaultTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(LyingDiscovery, AnswerWithLyingLengthsListsNothingFalse) {
    FaultSim sim;
    ASSERT_TRUE(sim.start({"--listen", "127.0.0.1:0", "--discovery", "127.0.0.1:0",
                           "--discovery-malformed", GetParam()}));
    write_settings(1, "", 1);
    MainWindow& w = open_window();
    DiscoveryTargets t = DiscoveryTargets::loopback();
    t.remote_port = sim.port_of("DISCOVERY");
    t.local_port = 0;
    w.set_discovery_targets(t);
    LatenessProbe probe;

    find<QPushButton>("cmd_eth_find")->click();
    run_events_for(2500);  // the answer, and the repeat after a second
    auto* list = find<QTreeWidget>("lstv_discovery");
    ASSERT_NE(list, nullptr);
    // Whatever survives the parse is a dotted address, never bytes from
    // beyond the datagram.
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QString ip = list->topLevelItem(i)->text(0);
        EXPECT_TRUE(ip.isEmpty() || ip == "127.0.0.1") << ip.toStdString();
    }
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(w.link().ethernet_connected);
    expect_responsive(probe);
}

INSTANTIATE_TEST_SUITE_P(Malformed, LyingDiscovery,
                         ::testing::Values("overrun", "truncated", "desc-first", "no-desc",
                                           "huge-len"));

}  // namespace
}  // namespace t27::testing
