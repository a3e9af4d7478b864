#include "mainwin/command_monitor.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <string>
#include <vector>

#include "protocol/qt/qt_pump.h"
#include "protocol/qt/qt_tcp_transport.h"
#include "sim/unit_model.h"
#include "tests/mainwin/secondary/qt_wait.h"
#include "tests/support/qt_sim_server.h"
#include "tests/support/sim_transport.h"
#include "tests/support/virtual_pump.h"

namespace t27::testing {
namespace {

// The main window's part: what the engine shows goes to the monitor while it is open.
class MonitorView : public EngineView {
  public:
    void show_message(const std::string& text, MessageIcon) override { messages.push_back(text); }
    void set_link_label(const std::string&, Colour) override {}
    void monitor_log_changed(const std::string& log) override {
        if (monitor) monitor->log_changed(log);
    }
    void monitor_log_cleared() override {
        if (monitor) monitor->log_cleared();
    }

    QPointer<CommandMonitor> monitor;
    std::vector<std::string> messages;
};

uint colour_of(QWidget* w) { return w->property("t27_colour").toUInt(); }

void press_enter(QWidget* w) {
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(w, &up);
}

// The unit model behind the engine on virtual time, so waits cost nothing.
class MonitorTest : public ::testing::Test {
  protected:
    MonitorTest() : transport(pump, model), engine(link, unit, pump, view) {
        link.link_interface = interface_ethernet;
        link.ethernet_connected = true;
        engine.set_ethernet(&transport);
        unit.model_family = family_v4;
        state.current_tab = 0;
        for (int i = 0; i < 6; ++i) {
            auto* b = new QPushButton(QStringLiteral("tab"), &main);
            b->setObjectName(QStringLiteral("cmd_main_%1").arg(i));
        }
    }
    ~MonitorTest() override { delete view.monitor; }

    CommandMonitor& open() {
        view.monitor = new CommandMonitor(engine, state, pump, &main);
        view.monitor->show();
        return *view.monitor;
    }

    template <typename T>
    T* find(const char* name) {
        return view.monitor->findChild<T*>(QString::fromLatin1(name));
    }
    QString shown() { return find<QPlainTextEdit>("rtxt_monitor")->toPlainText(); }
    void type(const char* text) {
        find<QLineEdit>("txt_tx_str")->setText(QString::fromLatin1(text));
    }

    sim::UnitModel model;
    VirtualPump pump;
    SimTransport transport;
    LinkState link;
    UnitIdentity unit;
    MonitorView view;
    Engine engine;
    MainState state;
    QWidget main;
};

TEST_F(MonitorTest, OpensAsNamedToolWindowWithLoggingOn) {
    link.monitor_log = "$fwver? 2.18.07<CR><LF>\r\n";
    CommandMonitor& m = open();
    EXPECT_EQ(m.objectName(), "frm_monitor_cmd");
    EXPECT_EQ(m.windowTitle(), "Command Monitor");
    EXPECT_TRUE(m.isWindow());
    EXPECT_EQ(m.parentWidget(), &main);
    EXPECT_TRUE(m.is_open());
    EXPECT_TRUE(link.monitor_on);
    // The log collected before the window opened is there, line break and all.
    EXPECT_EQ(shown(), "$fwver? 2.18.07<CR><LF>\n");
    QPlainTextEdit* view_box = find<QPlainTextEdit>("rtxt_monitor");
    EXPECT_TRUE(view_box->isReadOnly());
    EXPECT_EQ(view_box->textCursor().position(), shown().size());
    EXPECT_EQ(find<QPushButton>("cmd_tx_str")->text(), "SEND");
    EXPECT_EQ(find<QPushButton>("cmd_clear")->text(), "CLEAR");
    EXPECT_TRUE(find<QLineEdit>("txt_tx_str")->text().isEmpty());
}

TEST_F(MonitorTest, PauseButtonFollowsTheTabAndItsOwnState) {
    CommandMonitor& m = open();
    QPushButton* pause = find<QPushButton>("cmd_pause");
    QPushButton* send = find<QPushButton>("cmd_tx_str");
    QLineEdit* line = find<QLineEdit>("txt_tx_str");

    // Tabs 0-3: typing allowed, no pause, logging always on.
    for (int tab : {0, 1, 2, 3}) {
        state.current_tab = tab;
        link.monitor_on = false;
        m.monitor_pause_set();
        EXPECT_TRUE(pause->isHidden()) << tab;
        EXPECT_FALSE(send->isHidden()) << tab;
        EXPECT_FALSE(line->isHidden()) << tab;
        EXPECT_EQ(colour_of(pause), colour::light_grey) << tab;
        EXPECT_TRUE(link.monitor_on) << tab;
    }

    // A polling tab: the pause button instead of the send line.
    state.current_tab = 4;
    m.monitor_pause_set();
    EXPECT_FALSE(pause->isHidden());
    EXPECT_TRUE(send->isHidden());
    EXPECT_TRUE(line->isHidden());
    EXPECT_EQ(pause->text(), "START");
    EXPECT_EQ(colour_of(pause), colour::bright_green);
    EXPECT_EQ(colour_of(pause), 49152u);
    EXPECT_TRUE(link.monitor_on);

    // The caption names the state logging is in.
    pause->click();
    EXPECT_TRUE(m.paused());
    EXPECT_EQ(pause->text(), "PAUSE");
    EXPECT_EQ(colour_of(pause), 3158271u);
    EXPECT_FALSE(link.monitor_on);
    EXPECT_EQ(main.focusWidget(), main.findChild<QWidget*>("cmd_main_4"));

    // Paused stays paused on the other polling tab, and logging resumes on an
    // ordinary tab without un-pausing.
    state.current_tab = 5;
    m.monitor_pause_set();
    EXPECT_EQ(pause->text(), "PAUSE");
    EXPECT_FALSE(link.monitor_on);
    state.current_tab = 2;
    m.monitor_pause_set();
    EXPECT_TRUE(link.monitor_on);
    EXPECT_TRUE(pause->isHidden());
    state.current_tab = 5;
    m.monitor_pause_set();
    EXPECT_FALSE(link.monitor_on);

    pause->click();
    EXPECT_EQ(pause->text(), "START");
    EXPECT_TRUE(link.monitor_on);
    EXPECT_EQ(main.focusWidget(), main.findChild<QWidget*>("cmd_main_5"));
}

TEST_F(MonitorTest, SendWhileBusyDoesNothingAndKeepsTheText) {
    open();
    type("  $fwver?  ");
    link.cmdtx_busy = true;
    find<QPushButton>("cmd_tx_str")->click();
    link.cmdtx_busy = false;
    state.poll_busy = true;
    press_enter(find<QLineEdit>("txt_tx_str"));
    state.poll_busy = false;
    EXPECT_EQ(find<QLineEdit>("txt_tx_str")->text(), "  $fwver?  ");
    EXPECT_EQ(transport.wire(), "");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::NotSent);

    // Free again: the line is trimmed, written back and sent with a CR.
    press_enter(find<QLineEdit>("txt_tx_str"));
    EXPECT_EQ(find<QLineEdit>("txt_tx_str")->text(), "$fwver?");
    EXPECT_EQ(transport.wire(), "$fwver?\r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::Accepted);
    EXPECT_EQ(link.cmdrx_param1, "2.18.07");
    // Sent lines are not logged; the reply is, with its line end made visible.
    EXPECT_EQ(link.monitor_log, "$fwver? 2.18.07<CR><LF>\r\n");
    EXPECT_EQ(shown(), "$fwver? 2.18.07<CR><LF>\n");
}

TEST_F(MonitorTest, SendWaitsHalfASecondForLateLines) {
    open();
    type("$model?");
    const std::int64_t before = pump.now_ms();
    find<QPushButton>("cmd_tx_str")->click();
    EXPECT_GT(pump.now_ms() - before, 500);
    EXPECT_FALSE(link.cmdtx_busy);
}

TEST_F(MonitorTest, WrongCommandWordIsAnErrorButStillLogged) {
    open();
    model.faults().wrong_word = true;
    type("$fwver?");
    find<QPushButton>("cmd_tx_str")->click();
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::ErrorReply);
    EXPECT_EQ(link.monitor_log, "$wrongword 2.18.07<CR><LF>\r\n");
    EXPECT_EQ(shown(), "$wrongword 2.18.07<CR><LF>\n");
}

TEST_F(MonitorTest, HelpListThatNeverEndsDoesNotStallLaterRequests) {
    // A unit whose list lacks the closing EOT: the help request runs out its
    // wait, and the next ordinary request must still complete on its line end.
    model.handlers()["$help"] = [](sim::UnitModel&, const sim::Call& c) {
        return sim::make_reply(c.word, "no end marker");
    };
    open();
    type("$help");
    find<QPushButton>("cmd_tx_str")->click();
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::NoResponse);
    EXPECT_FALSE(link.eot_reply);

    const std::int64_t before = pump.now_ms();
    engine.cmdtx_str("$fwver?\r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::Accepted);
    EXPECT_LT(pump.now_ms() - before, 200);
}

TEST_F(MonitorTest, LogViewAppendsReplacesAndClears) {
    CommandMonitor& m = open();
    m.log_changed("$a 1<CR><LF>\r\n");
    m.log_changed("$a 1<CR><LF>\r\n$b \xE9<1B><CR>");
    EXPECT_EQ(shown(), QString::fromLatin1("$a 1<CR><LF>\n$b \xE9<1B><CR>"));
    EXPECT_EQ(find<QPlainTextEdit>("rtxt_monitor")->textCursor().position(), shown().size());

    // The engine emptied the log and started again: the view follows.
    m.log_changed("$c<CR>");
    EXPECT_EQ(shown(), "$c<CR>");
    m.log_cleared();
    EXPECT_EQ(shown(), "");
    m.log_changed("$d<CR>");
    EXPECT_EQ(shown(), "$d<CR>");

    link.monitor_log = "$d<CR>";
    find<QPushButton>("cmd_clear")->click();
    EXPECT_EQ(shown(), "");
    EXPECT_EQ(link.monitor_log, "");
}

TEST_F(MonitorTest, ClosingStopsLoggingAndReopeningShowsTheOldLog) {
    CommandMonitor& m = open();
    int closed = 0;
    QObject::connect(&m, &CommandMonitor::closed, [&] { ++closed; });
    type("$fwver?");
    find<QPushButton>("cmd_tx_str")->click();
    const std::string logged = link.monitor_log;
    ASSERT_EQ(logged, "$fwver? 2.18.07<CR><LF>\r\n");

    m.close();
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(link.monitor_on);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(view.monitor.isNull());

    // Nothing is logged while the window is closed.
    engine.cmdtx_str("$model?\r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::Accepted);
    EXPECT_EQ(link.monitor_log, logged);

    open();
    EXPECT_EQ(shown(), "$fwver? 2.18.07<CR><LF>\n");
    EXPECT_TRUE(link.monitor_on);
    EXPECT_FALSE(view.monitor->paused());
}

TEST_F(MonitorTest, PlacedLeftOfTheMainWindowBottomsLevel) {
    const QRect screen = main.screen()->availableGeometry();
    main.setGeometry(screen.left() + 600, screen.top() + 100, 150, 300);
    main.show();
    CommandMonitor& m = open();
    m.resize(240, 200);
    m.place_beside(&main);
    EXPECT_EQ(m.frameGeometry().right() + 1, main.frameGeometry().left());
    EXPECT_EQ(m.frameGeometry().bottom(), main.frameGeometry().bottom());

    // Against the screen's left edge the monitor stays on the screen.
    main.move(screen.left() + 50, screen.top() + 300);
    m.place_beside(&main);
    EXPECT_EQ(m.frameGeometry().left(), screen.left());
    EXPECT_EQ(m.frameGeometry().bottom(), main.frameGeometry().bottom());
}

// The same window over a real loopback socket and the real event loop.
TEST(MonitorOverTcp, HelpCompletesOnEotAndTheLogEndsWithIt) {
    sim::UnitModel model;
    QtSimServer server(model);
    ASSERT_TRUE(server.listen());
    LinkState link;
    UnitIdentity unit;
    MonitorView view;
    QtPump pump;
    QtTcpTransport tcp;
    Engine engine(link, unit, pump, view);
    MainState state;
    state.current_tab = 1;
    link.link_interface = interface_ethernet;
    engine.set_ethernet(&tcp);
    tcp.connect_to(QStringLiteral("127.0.0.1"), server.port());
    ASSERT_TRUE(wait_for([&] { return tcp.connected(); }));
    link.ethernet_connected = true;
    unit.model_family = family_v4;

    QWidget main;
    view.monitor = new CommandMonitor(engine, state, pump, &main);
    view.monitor->show();
    auto* line = view.monitor->findChild<QLineEdit*>("txt_tx_str");
    line->setText(QStringLiteral(" $help "));
    press_enter(line);

    EXPECT_EQ(line->text(), "$help");
    EXPECT_EQ(server.wire(), "$help\r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::Accepted);
    EXPECT_FALSE(link.eot_reply);
    const std::string log = link.monitor_log;
    ASSERT_GE(log.size(), 5u);
    EXPECT_EQ(log.substr(log.size() - 5), "<EOT>");
    EXPECT_EQ(log.substr(0, 13), "$help<CR><LF>");
    // Each line of the list ends "<CR><LF>" and a break, the last with EOT.
    EXPECT_NE(log.find("$fwver?<CR><LF>\r\n"), std::string::npos);
    const QString shown = view.monitor->findChild<QPlainTextEdit*>("rtxt_monitor")->toPlainText();
    EXPECT_TRUE(shown.endsWith("<CR><LF>\n<EOT>"));

    // The next plain request completes on its line end as usual.
    line->setText(QStringLiteral("$fwver?"));
    view.monitor->cmd_tx_str_Click();
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::Accepted);
    EXPECT_EQ(link.cmdrx_param1, "2.18.07");
    EXPECT_TRUE(view.messages.empty());
    delete view.monitor;
}

}  // namespace
}  // namespace t27::testing
