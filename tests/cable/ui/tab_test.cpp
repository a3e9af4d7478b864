// The Cable Test tab in the real main window, linked over loopback TCP to the
// unit model running in this process.
#include <QFocusEvent>
#include <QTimer>

#include "sim/faults.h"
#include "tests/cable/ui/cable_window.h"
#include "tests/support/qt_sim_server.h"

namespace t27::testing {
namespace {

class CableTabTest : public CableWindowTest {
  protected:
    void SetUp() override {
        CableWindowTest::SetUp();
        model.state().identity.model = "T28";  // the family with a cable tester
        model.state().task_mode = "cable";
        ASSERT_TRUE(server.listen());
    }
    MainWindow& linked() { return linked_window(server.port()); }
    int sent(const std::string& line) {
        int n = 0;
        const std::string& wire = server.wire();
        for (std::size_t p = wire.find(line); p != std::string::npos; p = wire.find(line, p + 1))
            ++n;
        return n;
    }

    QtSimServer server{model};
};

TEST_F(CableTabTest, LevelShownAsReportedAndToggled) {
    linked();
    open_cable_tab();
    EXPECT_EQ(label("lab_cable_level")->text(), "NORMAL");
    find<QPushButton>("cmd_cable_level")->click();
    ASSERT_TRUE(wait_until([&] { return label("lab_cable_level")->text() == "STRICT"; }));
    EXPECT_EQ(sent("$cable_level strict\r"), 1);
    EXPECT_EQ(model.state().settings["cable_level"], "strict");
    find<QPushButton>("cmd_cable_level")->click();
    ASSERT_TRUE(wait_until([&] { return label("lab_cable_level")->text() == "NORMAL"; }));
    EXPECT_EQ(sent("$cable_level normal\r"), 1);
}

TEST_F(CableTabTest, LevelNeverReadAsksForNormal) {
    linked();
    model.handle_line("$cable_level strict");
    ASSERT_TRUE(label("lab_cable_level")->text().isEmpty());
    find<QPushButton>("cmd_cable_level")->click();
    EXPECT_EQ(server.wire().substr(server.wire().size() - 20), "$cable_level normal\r");
    EXPECT_EQ(model.state().settings["cable_level"], "normal");
}

TEST_F(CableTabTest, ChoosingAnEntrySendsItsValueButTheProgramsOwnChoiceIsNotSent) {
    linked();
    open_cable_tab();
    EXPECT_EQ(time_list()->currentIndex(), 0);  // the unit's "1"
    EXPECT_EQ(time_list()->count(), 7);
    EXPECT_EQ(time_list()->itemText(4), "30 minutes");
    EXPECT_EQ(sent("$cable_time "), 0);

    time_list()->setCurrentIndex(4);
    ASSERT_TRUE(wait_until([&] { return model.state().settings["cable_time"] == "5"; }));
    EXPECT_EQ(sent("$cable_time 5\r"), 1);
    // The unit's answer selects the same entry again without sending it.
    const int polls = sent("$cable_time?\r");
    ASSERT_TRUE(wait_until([&] { return sent("$cable_time?\r") >= polls + 2; }));
    EXPECT_EQ(time_list()->currentIndex(), 4);
    EXPECT_EQ(sent("$cable_time "), 1);
}

TEST_F(CableTabTest, TimeReplyWhileTheListHasFocusChangesNothing) {
    linked();
    open_cable_tab();
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(time_list(), &in);
    ASSERT_TRUE(page->view().cable_time_focus);
    // Opening the drop-down list is still choosing.
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QCoreApplication::sendEvent(time_list(), &popup);
    ASSERT_TRUE(page->view().cable_time_focus);

    model.handle_line("$cable_time 3");
    const int polls = sent("$cable_time?\r");
    ASSERT_TRUE(wait_until([&] { return sent("$cable_time?\r") >= polls + 2; }));
    EXPECT_EQ(time_list()->currentIndex(), 0);

    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(time_list(), &out);
    ASSERT_TRUE(wait_until([&] { return time_list()->currentIndex() == 2; }));
    EXPECT_EQ(sent("$cable_time "), 0);
}

TEST_F(CableTabTest, StartDuringAPollTransactionRunsOnTheNextTickAndThePollStartsOver) {
    MainWindow& w = linked();
    open_cable_tab();
    // A slow unit keeps a poll transaction waiting while the user clicks.
    ASSERT_EQ(sim::arm_fault(model.faults(), "delay 200"), "");
    bool clicked = false;
    int pending_after_click = -1;
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        if (clicked || !w.link().cmdtx_busy || !w.link().quiet_transaction) return;
        clicked = true;
        click(label("lab_cable_start"));
        pending_after_click = w.state().pending_action;
    });
    clicker.start(5);
    ASSERT_TRUE(wait_until([&] { return sent("$cable_run start\r") == 1; }));
    clicker.stop();
    EXPECT_EQ(pending_after_click, pending_cable_start);
    const std::size_t start = server.wire().find("$cable_run start\r");
    ASSERT_TRUE(wait_until([&] { return server.wire().size() > start + 40; }));
    model.faults().clear();
    // The next poll request after the action is the first of the list again.
    const std::string after = server.wire().substr(start + 17, 14);
    EXPECT_EQ(after, "$cable_level?\r") << server.wire().substr(start);
    EXPECT_EQ(w.state().pending_action, none_pending);
    EXPECT_TRUE(model.state().cable.running());
}

TEST_F(CableTabTest, FiniteTestShowsProgressThenTheResult) {
    MainWindow& w = linked();
    model.state().cable.set_time_scale(model.now_ms(), 60);  // two minutes in two seconds
    open_cable_tab();
    ASSERT_EQ(time_list()->currentIndex(), 0);
    EXPECT_EQ(label("lab_cable_start")->toolTip(), "Click to start cable test");
    EXPECT_EQ(label("lab_cable_stop")->toolTip(), "Click to stop cable test");
    EXPECT_EQ(border("sha_cable_start"), 0u);
    EXPECT_EQ(border("sha_cable_stop"), 12632256u);

    click(label("lab_cable_start"));
    int seen_between = 0;
    ASSERT_TRUE(wait_until([&] {
        const int v = bar()->value();
        if (bar()->isVisible() && v > 0 && v < bar()->maximum()) ++seen_between;
        return bar()->isVisible();
    }));
    EXPECT_FALSE(label("lab_cable_start")->isEnabled());
    EXPECT_TRUE(label("lab_cable_stop")->isEnabled());
    EXPECT_EQ(border("sha_cable_start"), 12632256u);
    EXPECT_EQ(border("sha_cable_stop"), 0u);
    EXPECT_FALSE(time_list()->isEnabled());
    EXPECT_FALSE(find<QPushButton>("cmd_cable_level")->isEnabled());
    EXPECT_FALSE(label("lab_cable_result")->isVisible());

    // A click on the disabled START is nobody's business.
    click(label("lab_cable_start"));
    EXPECT_EQ(w.state().pending_action, none_pending);

    ASSERT_TRUE(wait_until(
        [&] {
            const int v = bar()->value();
            if (bar()->isVisible() && v > 0 && v < bar()->maximum()) ++seen_between;
            return label("lab_cable_result")->isVisible() &&
                   label("lab_cable_result")->text() == "PASS";
        },
        10000));
    EXPECT_GT(seen_between, 0);
    EXPECT_FALSE(bar()->isVisible());
    EXPECT_TRUE(label("lab_cable_start")->isEnabled());
    EXPECT_EQ(border("sha_cable_start"), 0u);
    // The clock fields come later in the cycle than the result; the unit's
    // clock stopped at the end of the test.
    EXPECT_TRUE(wait_until([&] {
        return label("lab_cable_minute")->text() == "2" && label("lab_cable_second")->text() == "0";
    }));
    EXPECT_EQ(sent("$cable_run start\r"), 1);
}

TEST_F(CableTabTest, EndlessTestMovesTheArrowUntilStopped) {
    linked();
    open_cable_tab();
    time_list()->setCurrentIndex(6);
    ASSERT_TRUE(wait_until([&] { return model.state().settings["cable_time"] == "7"; }));
    click(label("lab_cable_start"));
    QLabel* arrow = label("img_cable_arrow");
    ASSERT_TRUE(wait_until([&] { return label("lab_cable_result")->text() == "Testing"; }));
    EXPECT_TRUE(arrow->isVisible());
    EXPECT_FALSE(bar()->isVisible());
    std::vector<int> xs{arrow->x()};
    ASSERT_TRUE(wait_until([&] {
        if (arrow->x() != xs.back()) xs.push_back(arrow->x());
        return xs.size() >= 4;
    }));
    for (std::size_t i = 1; i < xs.size(); ++i)
        EXPECT_EQ(xs[i] - xs[i - 1], 20) << i;  // 300 twips per poll cycle

    click(label("lab_cable_stop"));
    ASSERT_TRUE(wait_until([&] { return label("lab_cable_result")->text() == "PASS"; }));
    EXPECT_TRUE(label("lab_cable_start")->isEnabled());
    EXPECT_FALSE(label("lab_cable_stop")->isEnabled());
    EXPECT_TRUE(arrow->isVisible());
}

TEST_F(CableTabTest, WithoutALinkChoosingTheTabStopsThePollAndDropsDeferredActions) {
    MainWindow& w = open_window();
    page = new CableTab(w);
    w.state().pending_action = pending_cable_time;
    w.tim_monitor().start();
    page->cable_test_run();
    EXPECT_FALSE(w.tim_monitor().isActive());
    EXPECT_EQ(w.state().pending_action, none_pending);
    EXPECT_EQ(w.state().poll_list, (std::vector<int>{14, 17, 15, 19, 160, 161, 162, 163}));
    EXPECT_EQ(w.state().poll_pos, 0);
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace t27::testing
