#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "tests/mainwin/window_fixture.h"
#include "tests/support/qt_sim_pty.h"
#include "tests/support/qt_sim_server.h"

namespace t27::testing {
namespace {

uint colour_of(QWidget* w) { return w->property("t27_colour").toUInt(); }

TEST_F(WindowTest, StartUpOpensNothingAndSendsNothing) {
    QtSimServer server(model);
    ASSERT_TRUE(server.listen());
    write_settings(1, "127.0.0.1", 4);
    MainWindow& w = open_window();
    w.set_unit_port(server.port());
    QCoreApplication::processEvents();

    EXPECT_EQ(w.windowTitle(), "Torvex T27 Controller 2.18T");
    EXPECT_EQ(w.link().link_interface, interface_ethernet);
    EXPECT_EQ(w.link().com_port, 4);
    EXPECT_EQ(find<QLineEdit>("txt_eth_ip")->text(), "127.0.0.1");
    EXPECT_EQ(find<QComboBox>("cbo_com")->count(), 16);
    EXPECT_EQ(find<QComboBox>("cbo_com")->itemText(15), "COM16:");
    EXPECT_EQ(find<QComboBox>("cbo_com")->currentIndex(), 3);
    EXPECT_EQ(find<QComboBox>("cbo_interface")->itemText(1), "Ethernet");
    EXPECT_EQ(find<QLabel>("lab_link")->text(), "Not Linked");
    EXPECT_EQ(find<QLabel>("lab_fw_ver")->text(), "FW:");
    EXPECT_EQ(colour_of(find<QPushButton>("cmd_eth_open")), colour::red);
    EXPECT_EQ(colour_of(find<QPushButton>("cmd_rs232_open")), colour::grey);
    EXPECT_FALSE(find<QPushButton>("cmd_rs232_open")->isVisible());
    EXPECT_EQ(w.unit().model_family, not_known);
    EXPECT_EQ(w.state().catalogue_file, "v4_timing_pattern.ini");
    EXPECT_TRUE(dialogs.messages.empty());
    wait_until([] { return false; }, 300);
    EXPECT_EQ(server.connections(), 0);
}

TEST_F(WindowTest, EthernetConnectLinksThroughTheClock) {
    model.state().identity.model = "T28";
    model.state().identity.board_id = 0;
    QtSimServer server(model);
    ASSERT_TRUE(server.listen());
    write_settings(1, "127.000.000.001", 1);
    MainWindow& w = open_window();
    w.set_unit_port(server.port());

    find<QPushButton>("cmd_eth_open")->click();
    EXPECT_EQ(find<QLineEdit>("txt_eth_ip")->text(), "127.0.0.1");  // tidied by the check
    ASSERT_TRUE(wait_until([&] { return w.unit().model_family == family_v4l; }));
    EXPECT_TRUE(wait_until([&] { return find<QLabel>("lab_fw_ver")->text() == "FW: 2.18.07"; }));
    EXPECT_EQ(find<QLabel>("lab_model")->text(), "T28");
    EXPECT_EQ(find<QLabel>("lab_link")->text(), "Accepted");
    EXPECT_EQ(colour_of(find<QPushButton>("cmd_eth_open")), colour::green);
    EXPECT_EQ(w.state().catalogue_file, "v4l_t_old_timing_pattern.ini");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(server.wire().substr(0, 8), "$model?\r");

    // A request that the unit answers while we wait shows up in the fields.
    w.engine().cmdtx_str("$board_id?\r");
    EXPECT_EQ(w.link().cmdrx_status, ReplyStatus::Accepted);

    // The unit closes the connection and is gone: one reconnect, then the message.
    server.stop();
    ASSERT_TRUE(wait_until([&] { return !dialogs.messages.empty(); }, 8000));
    EXPECT_EQ(dialogs.messages[0], "Ethernet is disconnected !!");
    EXPECT_FALSE(w.link().ethernet_connected);
    // One reconnect attempt, one message: the 100 ms monitor must not start
    // attempts of its own inside the grace wait.
    wait_until([] { return false; }, 1500);
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(colour_of(find<QPushButton>("cmd_eth_open")), colour::red);
}

TEST_F(WindowTest, EthernetReconnectRelinksTheUnit) {
    QtSimServer server(model);
    ASSERT_TRUE(server.listen());
    write_settings(1, "127.0.0.1", 1);
    MainWindow& w = open_window();
    connect_over_tcp(w, server.port());
    ASSERT_TRUE(wait_until([&] { return w.unit().model_family == family_v4; }));

    // Dropped by the unit but it is still listening: the reconnect succeeds,
    // and the unit is identified again.
    server.close_client();
    ASSERT_TRUE(wait_until([&] { return server.connections() >= 2; }));
    ASSERT_TRUE(wait_until([&] { return w.unit().model_family == family_v4; }));
    EXPECT_TRUE(w.link().ethernet_connected);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WindowTest, UnknownModelIsToldOnceAndNotAskedAgainUntilTheNextLink) {
    model.state().identity.model = "XR-900";
    QtSimServer server(model);
    ASSERT_TRUE(server.listen());
    write_settings(1, "127.0.0.1", 1);
    MainWindow& w = open_window();
    connect_over_tcp(w, server.port());
    ASSERT_TRUE(wait_until([&] { return !dialogs.messages.empty(); }));
    const std::size_t sent = server.wire().size();
    wait_until([] { return false; }, 1500);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], "Do [Refresh] or [Link] first !");
    EXPECT_EQ(server.wire().size(), sent) << server.wire();
    EXPECT_EQ(find<QLabel>("lab_model")->text(), "XR-900");

    // The user's own link asks again; a known model then links as usual.
    model.state().identity.model = "T27";
    w.lab_link_Click();
    EXPECT_EQ(w.unit().model_family, family_v4);
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(WindowTest, WrongAddressIsRefusedAndNoServerTimesOut) {
    write_settings(1, "127.0.0", 1);
    MainWindow& w = open_window();
    find<QPushButton>("cmd_eth_open")->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], "Wrong IP address.");
    EXPECT_EQ(dialogs.icons[0], MessageIcon::Error);
    EXPECT_FALSE(w.link().ethernet_connected);
}

// A loopback listener that never accepts and whose queue is already full: a
// connection to it stays half-open, as one to an address nobody answers.
class FullListener {
  public:
    FullListener() {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        socklen_t len = sizeof a;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
            ::listen(fd_, 0) != 0 || ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len) != 0)
            return;
        port_ = ntohs(a.sin_port);
        for (int i = 0; i < 4; ++i) {
            const int c = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            (void)::connect(c, reinterpret_cast<sockaddr*>(&a), sizeof a);
            fillers_.push_back(c);
        }
    }
    ~FullListener() {
        for (int c : fillers_) ::close(c);
        if (fd_ >= 0) ::close(fd_);
    }
    quint16 port() const { return port_; }

  private:
    int fd_ = -1;
    quint16 port_ = 0;
    std::vector<int> fillers_;
};

TEST_F(WindowTest, EthernetPathsFromNoServerToALostPeer) {
    // A connection that never completes: the 7000 ms watchdog gives up.
    FullListener nobody;
    ASSERT_NE(nobody.port(), 0);
    write_settings(1, "127.0.0.1", 1);
    MainWindow& w = open_window();
    w.set_unit_port(nobody.port());
    QElapsedTimer clock;
    clock.start();
    find<QPushButton>("cmd_eth_open")->click();
    EXPECT_EQ(colour_of(find<QPushButton>("cmd_eth_open")), colour::yellow);
    ASSERT_TRUE(wait_until([&] { return !dialogs.messages.empty(); }, 9000));
    EXPECT_GE(clock.elapsed(), 6500);  // a coarse timer may fire up to 5% early
    EXPECT_EQ(dialogs.messages[0], "Client could not find Server.");
    EXPECT_EQ(colour_of(find<QPushButton>("cmd_eth_open")), colour::red);
    EXPECT_FALSE(w.link().ethernet_connected);

    // Enter in the address box tidies the address and connects.
    QtSimServer server(model);
    ASSERT_TRUE(server.listen());
    w.set_unit_port(server.port());
    auto* ip = find<QLineEdit>("txt_eth_ip");
    ip->setText("127.000.000.001");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(ip, &enter);
    EXPECT_EQ(ip->text(), "127.0.0.1");
    EXPECT_TRUE(ip->isEnabled());
    ASSERT_TRUE(wait_until([&] { return w.unit().model_family == family_v4; }));

    // Connecting again stops the poll before the socket is touched.
    w.tim_monitor().start();
    w.eth_connect(true);
    EXPECT_FALSE(w.tim_monitor().isActive());
    ASSERT_TRUE(wait_until(
        [&] { return w.link().ethernet_connected && w.unit().model_family == family_v4; }));

    // The peer goes and the socket is found closed without a closed event
    // reaching the window: the 100 ms monitor tries once, then says so.
    server.stop();
    w.tcp().close();
    ASSERT_TRUE(wait_until([&] { return dialogs.messages.size() >= 2; }, 3000));
    EXPECT_EQ(dialogs.messages[1], "Ethernet is disconnected !");
    EXPECT_FALSE(w.link().ethernet_connected);
    EXPECT_EQ(colour_of(find<QPushButton>("cmd_eth_open")), colour::red);
}

TEST_F(WindowTest, SerialPortOnPtyProbesAndLinks) {
    QtSimPty pty(model);
    ASSERT_FALSE(pty.slave_path().empty());
    write_file("com_ports.txt", QByteArray("COM3=") + pty.slave_path().c_str() + "\n");
    write_settings(0, "", 3);
    MainWindow& w = open_window();
    EXPECT_EQ(w.com_map().device_for(3), pty.slave_path());

    find<QPushButton>("cmd_rs232_open")->click();
    ASSERT_TRUE(wait_until([&] { return w.unit().model_family == family_v4; }));
    EXPECT_TRUE(w.link().serial_open);
    EXPECT_EQ(colour_of(find<QPushButton>("cmd_rs232_open")), colour::green);
    EXPECT_EQ(find<QPushButton>("cmd_rs232_open")->toolTip(), "Click to disconnect unit");
    EXPECT_EQ(pty.wire().substr(0, 15), "$boot?\r$model?\r");
    EXPECT_TRUE(dialogs.messages.empty());

    // The device disappears: the watchdog closes the port quietly.
    pty.vanish();
    ASSERT_TRUE(wait_until([&] { return !w.link().serial_open; }, 3000));
    EXPECT_EQ(colour_of(find<QPushButton>("cmd_rs232_open")), colour::red);
    EXPECT_TRUE(dialogs.messages.empty());

    // A request now is refused with the transport message.
    w.engine().cmdtx_str("$fwver?\r");
    EXPECT_EQ(w.link().cmdrx_status, ReplyStatus::NotSent);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], "RS-232 is disconnected !");
}

TEST_F(WindowTest, MissingComPortGivesItsMessageAndRedButton) {
    write_file("com_ports.txt", "COM5=/dev/t27-no-such-device\n");
    write_settings(0, "", 5);
    MainWindow& w = open_window();
    find<QPushButton>("cmd_rs232_open")->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], "RS-232 can not work on COM5: !");
    EXPECT_EQ(dialogs.icons[0], MessageIcon::None);
    EXPECT_FALSE(w.link().serial_open);
    EXPECT_EQ(colour_of(find<QPushButton>("cmd_rs232_open")), colour::red);
    EXPECT_EQ(find<QPushButton>("cmd_rs232_open")->toolTip(), "Click to connect unit");
}

TEST_F(WindowTest, LinkClickDuringTransactionIsDeferred) {
    MainWindow& w = open_window();
    w.link().cmdtx_busy = true;
    w.lab_link_Click();
    EXPECT_EQ(w.state().pending_action, pending_link);
    w.link().cmdtx_busy = false;
    w.state().poll_busy = true;
    w.img_refresh_Click();
    EXPECT_EQ(w.state().pending_action, pending_refresh);
}

TEST_F(WindowTest, SettingsAreWrittenAtExit) {
    write_settings(1, "10.0.0.7", 2);
    MainWindow& w = open_window();
    find<QComboBox>("cbo_interface")->setCurrentIndex(0);
    w.cbo_interface_Click();
    w.form_unload();
    QFile f(dir.path() + "/Daveri_ini.txt");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray s = f.readAll();
    EXPECT_TRUE(s.startsWith("0\r\n\"10.0.0.7\"\r\n2\r\n")) << s.toStdString();
    EXPECT_TRUE(s.endsWith("\"\"\r\n"));
}

// A file in the way of each write (a folder cannot be replaced by a file, even
// by root): one message box at exit names each file with its reason; the
// second failure brings no second box.
TEST_F(WindowTest, FailedSaveAtExitToldOnceInAMessageBox) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("Daveri_ini.txt"));
    QFile::remove(dir.path() + "/v4_timing_pattern_fav.ini");
    ASSERT_TRUE(QDir(dir.path()).mkdir("v4_timing_pattern_fav.ini"));
    open_window().form_unload();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const std::string& text = dialogs.messages[0];
    for (const char* file : {"/Daveri_ini.txt: ", "/v4_timing_pattern_fav.ini: "})
        EXPECT_NE(text.find(file), std::string::npos) << text;
    EXPECT_EQ(dialogs.icons[0], MessageIcon::Warning);
    window.reset();
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

}  // namespace
}  // namespace t27::testing
