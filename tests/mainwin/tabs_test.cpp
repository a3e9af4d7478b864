#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "protocol/command_table.h"
#include "sim/faults.h"
#include "tests/mainwin/window_fixture.h"
#include "tests/support/qt_sim_server.h"

namespace t27::testing {
namespace {

// A polling page that records what the window asks of it.
struct FakePage : TabPage {
    FakePage(MainWindow& w, int t, std::vector<int> l) : window(w), tab(t), list(std::move(l)) {
        window.set_page(tab, this);
    }
    ~FakePage() override { window.set_page(tab, nullptr); }
    void selected() override {
        ++selections;
        window.set_poll_list(list);
        window.tim_monitor().start();
    }
    void poll_reply(int index) override { replies.push_back(index); }
    void rebuild_poll_list() override {
        ++rebuilds;
        window.set_poll_list(list);
    }
    void read_back() override { ++read_backs; }

    MainWindow& window;
    int tab;
    std::vector<int> list;
    int selections = 0, rebuilds = 0, read_backs = 0;
    std::vector<int> replies;
};

class TabsTest : public WindowTest {
  protected:
    MainWindow& linked_window() {
        EXPECT_TRUE(server.listen());
        write_settings(1, "127.0.0.1", 1);
        MainWindow& w = open_window();
        EXPECT_TRUE(link_over_tcp(w, server.port()));
        return w;
    }
    QtSimServer server{model};
};

TEST_F(TabsTest, SplashUntilFirstTabAndColoursFollowTheChoice) {
    MainWindow& w = open_window();
    EXPECT_TRUE(find<QFrame>("fra_splash")->isVisible());
    EXPECT_EQ(w.state().current_tab, 254);
    EXPECT_EQ(find<QPushButton>("cmd_main_1")->text(), "Output Resolution");
    find<QPushButton>("cmd_main_3")->click();
    EXPECT_FALSE(find<QFrame>("fra_splash")->isVisible());
    EXPECT_TRUE(find<QFrame>("fra_main_3")->isVisible());
    EXPECT_EQ(find<QPushButton>("cmd_main_3")->property("t27_colour").toUInt(), colour::orange);
    find<QPushButton>("cmd_main_0")->click();
    EXPECT_FALSE(find<QFrame>("fra_main_3")->isVisible());
    EXPECT_EQ(find<QPushButton>("cmd_main_3")->property("t27_colour").toUInt(), colour::light_grey);
    EXPECT_EQ(w.state().current_tab, 0);
}

TEST_F(TabsTest, MonitorTabWithoutLinkSendsNothingAndSaysNothing) {
    MainWindow& w = open_window();
    find<QPushButton>("cmd_main_4")->click();
    wait_until([] { return false; }, 200);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(w.link().cmdrx_status, ReplyStatus::NotSent);
    EXPECT_EQ(find<QLabel>("lab_link")->text(), "Not Linked");
}

TEST_F(TabsTest, MonitorTabWithLinkProbesThenLinks) {
    MainWindow& w = linked_window();
    const std::size_t before = server.wire().size();
    FakePage monitor(w, tab_monitor, {138, 140});
    find<QPushButton>("cmd_main_4")->click();
    ASSERT_TRUE(wait_until([&] { return server.wire().size() > before + 20; }));
    const std::string sent = server.wire().substr(before);
    EXPECT_EQ(sent.substr(0, 15), "$boot?\r$model?\r") << sent;
    EXPECT_EQ(monitor.selections, 1);
    EXPECT_EQ(monitor.read_backs, 1);
    // Then the poll runs through its list, one request per tick.
    ASSERT_TRUE(wait_until([&] { return monitor.replies.size() >= 4; }));
    EXPECT_EQ(monitor.replies[0], 138);
    EXPECT_EQ(monitor.replies[1], 140);
    EXPECT_EQ(monitor.replies[2], 138);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(TabsTest, CableModeOnV4lLocksEveryOtherTab) {
    model.state().identity.model = "T28";
    model.state().task_mode = "cable";
    MainWindow& w = linked_window();
    ASSERT_EQ(w.unit().task_mode, task_cable);
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(find<QPushButton>(QStringLiteral("cmd_main_%1").arg(i).toLatin1().constData())
                         ->isEnabled())
            << i;
    EXPECT_TRUE(find<QPushButton>("cmd_main_5")->isEnabled());
    EXPECT_TRUE(find<QPushButton>("cmd_main_5")->isVisible());
    EXPECT_TRUE(find<QLabel>("img_cable_test")->isVisible());

    // Back to analyser: the lock lifts and the cable tab is disabled.
    w.cmd_task_mode_set("analyser");
    EXPECT_EQ(w.unit().task_mode, task_analyser);
    EXPECT_TRUE(find<QPushButton>("cmd_main_0")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("cmd_main_5")->isEnabled());
}

TEST_F(TabsTest, CableTabHiddenForOtherFamilies) {
    MainWindow& w = linked_window();
    ASSERT_EQ(w.unit().model_family, family_v4);
    EXPECT_FALSE(find<QPushButton>("cmd_main_5")->isVisible());
    EXPECT_FALSE(find<QLabel>("img_cable_test")->isVisible());
    EXPECT_EQ(find<QLabel>("img_analyser")->property("t27_picture").toString(),
              "task_analyser_on.bmp");
    EXPECT_EQ(find<QLabel>("img_pattern")->property("t27_picture").toString(),
              "task_pattern_off.bmp");
}

TEST_F(TabsTest, TwoClicksDuringOnePollOnlyTheLaterRunsOnTheNextTick) {
    model.state().identity.model = "T28";
    model.state().task_mode = "cable";
    MainWindow& w = linked_window();
    FakePage cable(w, tab_cable, {14, 17, 15, 19, 160, 161, 162, 163});
    std::vector<int> ran;
    int rebuilds_when_ran = -1;
    w.set_pending_handler(pending_cable_start, [&] { ran.push_back(0); });
    w.set_pending_handler(pending_cable_stop, [&] {
        ran.push_back(1);
        rebuilds_when_ran = cable.rebuilds;
    });
    find<QPushButton>("cmd_main_5")->click();
    ASSERT_TRUE(wait_until([&] { return !cable.replies.empty(); }));

    // Slow the unit down so a poll transaction is still waiting when the
    // user clicks twice; the clicks arrive as events inside that wait.
    ASSERT_EQ(sim::arm_fault(model.faults(), "delay 300"), "");
    bool clicked = false, deferred_both = false, none_ran_yet = false;
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        if (clicked || !w.link().cmdtx_busy || !w.link().quiet_transaction) return;
        clicked = true;
        deferred_both = w.defer(pending_cable_start) && w.defer(pending_cable_stop);
        none_ran_yet = ran.empty();
    });
    clicker.start(5);
    ASSERT_TRUE(wait_until([&] { return !ran.empty(); }));
    clicker.stop();
    EXPECT_TRUE(deferred_both);
    EXPECT_TRUE(none_ran_yet);
    model.faults().clear();
    EXPECT_EQ(ran, std::vector<int>{1});
    EXPECT_EQ(rebuilds_when_ran, 0);
    EXPECT_EQ(cable.rebuilds, 1);  // the list was set again after the action
    EXPECT_EQ(w.state().pending_action, none_pending);
    EXPECT_EQ(w.state().poll_pos, 0);
}

TEST_F(TabsTest, AClickDeferredWhileADeferredActionRunsIsKeptForTheNextTick) {
    MainWindow& w = linked_window();
    FakePage monitor(w, tab_monitor, {138});
    find<QPushButton>("cmd_main_4")->click();
    ASSERT_TRUE(wait_until([&] { return !monitor.replies.empty(); }));
    // A deferral made as a click would be inside a transaction.
    const auto deferred = [&](int code) {
        w.link().cmdtx_busy = true;
        const bool stored = w.defer(code);
        w.link().cmdtx_busy = false;
        return stored;
    };
    std::vector<int> ran;
    w.set_pending_handler(pending_cable_start, [&] { ran.push_back(0); });
    w.set_pending_handler(pending_cable_stop, [&] {
        ran.push_back(1);
        EXPECT_TRUE(deferred(pending_cable_start));  // the user clicks while it is sent
    });
    ASSERT_TRUE(deferred(pending_cable_stop));
    ASSERT_TRUE(wait_until([&] { return ran.size() == 2; }));
    EXPECT_EQ(ran, (std::vector<int>{1, 0}));
    EXPECT_EQ(w.state().pending_action, none_pending);
}

TEST_F(TabsTest, TaskSwitchDeferredWhileBusyRunsFromThePoll) {
    MainWindow& w = linked_window();
    w.link().cmdtx_busy = true;
    w.cmd_task_mode_set("pattern");
    EXPECT_EQ(w.state().pending_action, pending_task_pattern);
    w.link().cmdtx_busy = false;
    FakePage monitor(w, tab_monitor, {138});
    find<QPushButton>("cmd_main_4")->click();
    ASSERT_TRUE(wait_until([&] { return w.unit().task_mode == task_pattern; }));
    EXPECT_EQ(model.state().task_mode, "pattern");
    EXPECT_EQ(find<QLabel>("img_pattern")->property("t27_picture").toString(),
              "task_pattern_on.bmp");
}

TEST_F(TabsTest, FavouritesStayWithTheCatalogueTheyWereTickedIn) {
    auto file = [&](const char* name) {
        QFile f(dir.path() + "/" + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    };
    const QByteArray v4l_before = file("v4l_timing_pattern_fav.ini");
    model.state().identity.model = "RQTA-V5";
    MainWindow& w = linked_window();
    ASSERT_EQ(w.state().catalogue_file, "v5_timing_pattern.ini");
    ASSERT_GT(w.state().catalogue.pattern_count(), 7);
    w.state().favourites = Favourites{};
    w.state().favourites.fav_pattern[0] = 3;
    w.state().favourites.fav_pattern[1] = 7;
    QByteArray ticked;
    for (int i = 0; i < 18; ++i) ticked += "254\r\n";
    ticked += "3\r\n7\r\n";
    for (int i = 0; i < 16; ++i) ticked += "254\r\n";

    // A reconnect forgets the family until the unit is linked again; the
    // ticks survive it.
    const int connections = server.connections();
    server.close_client();
    ASSERT_TRUE(wait_until([&] { return server.connections() > connections; }));
    ASSERT_TRUE(wait_until([&] { return w.unit().model_family == family_v5; }));
    ASSERT_TRUE(wait_until([&] { return !w.link().cmdtx_busy; }));
    EXPECT_EQ(w.state().favourites.fav_pattern[1], 7);

    // Another unit: the V5 ticks go to the V5 file before the V4 lists come.
    model.state().identity.model = "T27";
    w.lab_link_Click();
    ASSERT_EQ(w.state().catalogue_file, "v4_timing_pattern.ini");
    EXPECT_EQ(file("v5_timing_pattern_fav.ini"), ticked);

    // At exit, whatever the link state, only the loaded catalogue's file.
    w.unit().model_family = not_known;
    w.form_unload();
    EXPECT_EQ(file("v5_timing_pattern_fav.ini"), ticked);
    EXPECT_NE(file("v4_timing_pattern_fav.ini"), ticked);
    EXPECT_EQ(file("v4l_timing_pattern_fav.ini"), v4l_before);
}

TEST_F(TabsTest, TabsFollowTheNextUnitAfterCableMode) {
    model.state().identity.model = "T28";
    model.state().task_mode = "cable";
    MainWindow& w = linked_window();
    ASSERT_FALSE(find<QPushButton>("cmd_main_0")->isEnabled());
    model.state().identity.model = "T27";
    model.state().task_mode = "analyser";
    w.lab_link_Click();
    ASSERT_EQ(w.unit().model_family, family_v4);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(find<QPushButton>(QStringLiteral("cmd_main_%1").arg(i).toLatin1().constData())
                        ->isEnabled())
            << i;
    EXPECT_FALSE(find<QPushButton>("cmd_main_5")->isVisible());
}

}  // namespace
}  // namespace t27::testing
