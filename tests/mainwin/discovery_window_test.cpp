#include <QLineEdit>
#include <QNetworkDatagram>
#include <QPushButton>
#include <QTreeWidget>
#include <QUdpSocket>

#include "tests/mainwin/window_fixture.h"
#include "tests/support/qt_sim_server.h"

namespace t27::testing {
namespace {

// A unit answering discovery on 127.0.0.1 with type-length-value records.
class LoopbackResponder {
public:
    LoopbackResponder() {
        socket.bind(QHostAddress(QStringLiteral("127.0.0.1")), 0);
        QObject::connect(&socket, &QUdpSocket::readyRead, [this] {
            while (socket.hasPendingDatagrams()) {
                QByteArray req(static_cast<int>(socket.pendingDatagramSize()), '\0');
                QHostAddress from;
                quint16 port = 0;
                socket.readDatagram(req.data(), req.size(), &from, &port);
                ++requests;
                if (req != QByteArray("\x01\x00\xFF\xFF", 4)) continue;
                QByteArray a("\x00\x00", 2);
                a += QByteArray("\x02\x06\x02\x00\x27\x00\x00\x01", 8);    // MAC
                a += QByteArray("\x03\x04\x7F\x00\x00\x01", 6);            // 127.0.0.1
                a += QByteArray("\x0D\x03T27", 5);                         // name
                a += QByteArray("\x0E\x04unit", 6);                        // description
                socket.writeDatagram(a, from, port);
            }
        });
    }
    quint16 port() const { return socket.localPort(); }
    QUdpSocket socket;
    int requests = 0;
};

TEST_F(WindowTest, FindIpListsUnitsAndDoubleClickConnects) {
    QtSimServer server(model);
    ASSERT_TRUE(server.listen());
    LoopbackResponder responder;
    write_settings(1, "", 1);
    MainWindow& w = open_window();
    w.set_unit_port(server.port());
    DiscoveryTargets t = DiscoveryTargets::loopback();
    t.remote_port = responder.port();
    t.local_port = 0;
    w.set_discovery_targets(t);

    find<QPushButton>("cmd_eth_find")->click();
    EXPECT_TRUE(w.discovery().isVisible());
    EXPECT_TRUE(find<QPushButton>("cmd_eth_refresh")->isEnabled());
    auto* list = find<QTreeWidget>("lstv_discovery");
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(wait_until([&] { return list->topLevelItemCount() == 1; }));
    EXPECT_EQ(list->topLevelItem(0)->text(0), "127.0.0.1");
    EXPECT_EQ(list->topLevelItem(0)->text(1), "02:00:27:00:00:01");
    // Someone answered, so the clock sends no repeat after its second.
    wait_until([] { return false; }, 1500);
    EXPECT_EQ(responder.requests, 1);
    EXPECT_FALSE(w.discovery().discovery_repeated());

    emit w.discovery().connect_requested(list->topLevelItem(0)->text(0));
    EXPECT_EQ(find<QLineEdit>("txt_eth_ip")->text(), "127.0.0.1");
    EXPECT_FALSE(w.discovery().isVisible());
    EXPECT_FALSE(find<QPushButton>("cmd_eth_refresh")->isEnabled());
    ASSERT_TRUE(wait_until([&] { return w.unit().model_family == family_v4; }));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WindowTest, FindIpTwiceHidesWithoutSendingAndSilenceRepeatsOnce) {
    LoopbackResponder silent;  // counts requests, but is pointed at nothing that answers
    write_settings(1, "", 1);
    MainWindow& w = open_window();
    DiscoveryTargets t = DiscoveryTargets::loopback();
    t.remote_port = silent.port();
    t.local_port = 0;
    w.set_discovery_targets(t);
    QObject::disconnect(&silent.socket, nullptr, nullptr, nullptr);
    int seen = 0;
    QObject::connect(&silent.socket, &QUdpSocket::readyRead, [&] {
        while (silent.socket.hasPendingDatagrams()) {
            silent.socket.receiveDatagram();
            ++seen;
        }
    });

    find<QPushButton>("cmd_eth_find")->click();
    ASSERT_TRUE(wait_until([&] { return seen == 2; }, 4000));  // the one repeat
    EXPECT_TRUE(w.discovery().discovery_repeated());
    wait_until([] { return false; }, 1500);
    EXPECT_EQ(seen, 2);

    find<QPushButton>("cmd_eth_find")->click();
    EXPECT_FALSE(w.discovery().isVisible());
    EXPECT_FALSE(find<QPushButton>("cmd_eth_refresh")->isEnabled());
    wait_until([] { return false; }, 300);
    EXPECT_EQ(seen, 2);
}

TEST_F(WindowTest, EyeLabelOpensAndClosesTheCommandMonitor) {
    MainWindow& w = open_window();
    auto* eye = find<ClickLabel>("lab_monitor_eye_cmd");
    ASSERT_NE(eye, nullptr);
    emit eye->clicked();
    ASSERT_NE(w.command_monitor(), nullptr);
    EXPECT_TRUE(w.link().monitor_on);
    emit eye->clicked();
    wait_until([&] { return w.command_monitor() == nullptr; }, 1000);
    EXPECT_EQ(w.command_monitor(), nullptr);
    EXPECT_FALSE(w.link().monitor_on);
}

}  // namespace
}  // namespace t27::testing
