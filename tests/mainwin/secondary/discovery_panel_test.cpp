#include "mainwin/discovery_panel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QNetworkDatagram>
#include <QTreeWidget>
#include <QUdpSocket>
#include <string>
#include <vector>

#include "tests/mainwin/secondary/qt_wait.h"
#include "tests/mainwin/secondary/sim_discovery_process.h"

namespace t27::testing {
namespace {

// Answers are built here from the record layout: type, length, value.
std::string rec(int type, const std::string& value) {
    return std::string(1, static_cast<char>(type)) +
           std::string(1, static_cast<char>(value.size())) + value;
}

const std::string header("\x02\x00", 2);
const std::string desc = rec(14, "HDMI test unit");

std::string mac_rec(unsigned char last) {
    return rec(2, std::string("\x00\x1A\x2B\x3C\x4D", 5) + static_cast<char>(last));
}
std::string ip_rec(unsigned char last) {
    return rec(3, std::string("\xC0\xA8\x00", 3) + static_cast<char>(last));  // 192.168.0.x
}
std::string answer(const std::string& name, unsigned char last) {
    return header + mac_rec(last) + ip_rec(last) + rec(13, name) + desc;
}

// A unit on 127.0.0.1 that answers each request with a script of datagrams.
class Responder {
  public:
    Responder() {
        socket_.bind(QHostAddress(QHostAddress::LocalHost), 0);
        QObject::connect(&socket_, &QUdpSocket::readyRead, [this] {
            while (socket_.hasPendingDatagrams()) {
                const QNetworkDatagram d = socket_.receiveDatagram();
                requests.push_back(d.data().toStdString());
                for (const std::string& a : answers)
                    socket_.writeDatagram(QByteArray(a.data(), static_cast<qsizetype>(a.size())),
                                          d.senderAddress(), static_cast<quint16>(d.senderPort()));
            }
        });
    }
    quint16 port() const { return socket_.localPort(); }

    std::vector<std::string> answers;
    std::vector<std::string> requests;

  private:
    QUdpSocket socket_;
};

DiscoveryTargets loopback_to(quint16 remote_port) {
    DiscoveryTargets t = DiscoveryTargets::loopback();
    t.remote_port = remote_port;
    t.local_port = 0;  // any free port, so parallel runs never collide
    return t;
}

class DiscoveryPanelTest : public ::testing::Test {
  protected:
    DiscoveryPanelTest() : panel(nullptr, loopback_to(responder.port())) {}

    QTreeWidget* list() { return panel.findChild<QTreeWidget*>("lstv_discovery"); }
    QLabel* prompt() { return panel.findChild<QLabel*>("lab_discovery_prompt"); }
    QString ip_at(int row) { return list()->topLevelItem(row)->text(0); }
    QString mac_at(int row) { return list()->topLevelItem(row)->text(1); }
    int index_at(int row) { return list()->topLevelItem(row)->data(0, Qt::UserRole).toInt(); }

    Responder responder;
    DiscoveryPanel panel;
};

TEST(DiscoveryPanelLayout, NamesCaptionsAndRealTargetsByDefault) {
    DiscoveryPanel panel(nullptr, DiscoveryTargets{});
    EXPECT_EQ(panel.objectName(), "fra_discovery");
    EXPECT_EQ(panel.windowTitle(), "List");
    auto* list = panel.findChild<QTreeWidget*>("lstv_discovery");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->headerItem()->text(0), "IP");
    EXPECT_EQ(list->headerItem()->text(1), "MAC");
    EXPECT_EQ(panel.findChild<QLabel*>("lab_discovery_prompt")->text(),
              "Double click on selected IP to connect Ethernet.");
    EXPECT_NE(panel.findChild<QUdpSocket*>("wsk_discovery"), nullptr);
    // Only looked at, never sent to from a test.
    EXPECT_EQ(panel.targets().multicast_host, "225.12.13.14");
    EXPECT_EQ(panel.targets().local_port, 31002);
    EXPECT_EQ(panel.bound_port(), 0);
}

TEST(DiscoveryPanelSim, UnitNamingItselfByItsLongNameIsListedUnderTheShortOne) {
    SimDiscoveryProcess sim;
    ASSERT_TRUE(sim.start({"--discovery-name", "Vuririd Uva.Z", "--discovery-ip", "192.168.0.7",
                           "--discovery-mac", "00:1A:2B:3C:4D:5E"}));
    DiscoveryPanel panel(nullptr, loopback_to(sim.port()));
    panel.start_search();
    ASSERT_TRUE(wait_for([&] { return panel.found_count() == 1; }));
    auto* list = panel.findChild<QTreeWidget*>("lstv_discovery");
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "192.168.0.7");
    EXPECT_EQ(list->topLevelItem(0)->text(1), "00:1A:2B:3C:4D:5E");
    EXPECT_EQ(list->topLevelItem(0)->toolTip(0), "Vezarev Ove.");
    EXPECT_FALSE(panel.repeat_if_due());
}

TEST_F(DiscoveryPanelTest, SendsTheRequestFromItsOwnPort) {
    panel.start_search();
    ASSERT_TRUE(wait_for([&] { return responder.requests.size() == 1; }));
    EXPECT_EQ(responder.requests[0], std::string("\x01\x00\xFF\xFF", 4));
    EXPECT_NE(panel.bound_port(), 0);
}

TEST_F(DiscoveryPanelTest, OtherFamilyNamesAreDropped) {
    // The listed unit comes last, so once it is there the others were read.
    responder.answers = {answer("RQTA-V4L", 5), answer("DE-40", 6), answer("T27 ", 7)};
    panel.start_search();
    ASSERT_TRUE(wait_for([&] { return panel.found_count() == 1; }));
    run_events_for(100);
    ASSERT_EQ(list()->topLevelItemCount(), 1);
    EXPECT_EQ(ip_at(0), "192.168.0.7");
    EXPECT_EQ(index_at(0), 1);
}

TEST_F(DiscoveryPanelTest, TwoUnitsAreEntriesOneAndTwoAndNoRepeatFollows) {
    responder.answers = {answer("RQTA-V5", 21), answer("DE-4", 22)};
    panel.start_search();
    ASSERT_TRUE(wait_for([&] { return panel.found_count() == 2; }));
    ASSERT_EQ(list()->topLevelItemCount(), 2);
    EXPECT_EQ(ip_at(0), "192.168.0.21");
    EXPECT_EQ(mac_at(0), "00:1A:2B:3C:4D:15");
    EXPECT_EQ(index_at(0), 1);
    EXPECT_EQ(ip_at(1), "192.168.0.22");
    EXPECT_EQ(index_at(1), 2);

    EXPECT_FALSE(panel.repeat_if_due());
    EXPECT_FALSE(panel.discovery_repeated());
    run_events_for(150);
    EXPECT_EQ(responder.requests.size(), 1u);

    // "Refresh": a new search starts from nothing.
    responder.answers.clear();
    panel.start_search();
    EXPECT_EQ(panel.found_count(), 0);
    EXPECT_EQ(list()->topLevelItemCount(), 0);
    ASSERT_TRUE(wait_for([&] { return responder.requests.size() == 2; }));
}

TEST_F(DiscoveryPanelTest, SilenceIsAnsweredByExactlyOneRepeat) {
    panel.start_search();
    ASSERT_TRUE(wait_for([&] { return responder.requests.size() == 1; }));
    EXPECT_TRUE(panel.repeat_if_due());
    EXPECT_TRUE(panel.discovery_repeated());
    ASSERT_TRUE(wait_for([&] { return responder.requests.size() == 2; }));
    EXPECT_EQ(responder.requests[1], std::string("\x01\x00\xFF\xFF", 4));
    EXPECT_FALSE(panel.repeat_if_due());
    run_events_for(150);
    EXPECT_EQ(responder.requests.size(), 2u);

    // A unit that answers the repeat is listed; a new search may repeat again.
    responder.answers = {answer("T27", 9)};
    panel.start_search();
    EXPECT_FALSE(panel.discovery_repeated());
    ASSERT_TRUE(wait_for([&] { return panel.found_count() == 1; }));
    EXPECT_FALSE(panel.repeat_if_due());
}

TEST_F(DiscoveryPanelTest, BrokenAnswersKeepWhatWasListedBefore) {
    std::string lying_tail = answer("RQTA-V4", 32) + std::string("\x0E\x30short", 7);
    std::string huge_first =
        header + std::string("\x02\xFF\x00\x1A", 4) + ip_rec(33) + rec(13, "T27") + desc;
    std::string desc_first = header + mac_rec(34) + rec(13, "DN-K7-RMB") + desc + ip_rec(34);
    responder.answers = {answer("T27", 31),      lying_tail, huge_first,        std::string(),
                         std::string("\x02", 1), desc_first, answer("DE-4", 35)};
    panel.start_search();
    ASSERT_TRUE(wait_for([&] { return panel.found_count() == 4; }));
    run_events_for(100);
    ASSERT_EQ(list()->topLevelItemCount(), 4);
    EXPECT_EQ(ip_at(0), "192.168.0.31");
    // Listed before its datagram ran out.
    EXPECT_EQ(ip_at(1), "192.168.0.32");
    // Its description came before its address.
    EXPECT_EQ(ip_at(2), "");
    EXPECT_EQ(mac_at(2), "00:1A:2B:3C:4D:22");
    EXPECT_EQ(ip_at(3), "192.168.0.35");
    for (int row = 0; row < 4; ++row) EXPECT_EQ(index_at(row), row + 1);
}

TEST_F(DiscoveryPanelTest, DoubleClickAsksToConnectToTheChosenUnit) {
    std::vector<QString> asked;
    QObject::connect(&panel, &DiscoveryPanel::connect_requested,
                     [&](const QString& ip) { asked.push_back(ip); });
    panel.lstv_discovery_DblClick();
    EXPECT_TRUE(asked.empty());

    responder.answers = {answer("T27", 41), answer("T27", 42)};
    panel.resize(400, 200);
    panel.show();
    panel.start_search();
    ASSERT_TRUE(wait_for([&] { return panel.found_count() == 2; }));

    // A real double click on the second row.
    QWidget* viewport = list()->viewport();
    const QPoint at = list()->visualItemRect(list()->topLevelItem(1)).center();
    for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                           QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        QMouseEvent e(t, QPointF(at), viewport->mapToGlobal(QPointF(at)), Qt::LeftButton,
                      t == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
        QApplication::sendEvent(viewport, &e);
    }
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], "192.168.0.42");
}

TEST_F(DiscoveryPanelTest, PortInUseIsShownInThePromptNotABox) {
    QUdpSocket occupant;
    ASSERT_TRUE(
        occupant.bind(QHostAddress(QHostAddress::LocalHost), 0, QAbstractSocket::DontShareAddress));
    DiscoveryTargets t = loopback_to(responder.port());
    t.local_port = occupant.localPort();
    panel.set_targets(t);
    panel.start_search();
    const QString expected_start =
        QStringLiteral("Discovery on UDP port %1 failed: ").arg(occupant.localPort());
    EXPECT_TRUE(prompt()->text().startsWith(expected_start)) << prompt()->text().toStdString();
    EXPECT_EQ(panel.bound_port(), 0);
    run_events_for(150);
    EXPECT_TRUE(responder.requests.empty());

    // Once the port is free the next search works and the prompt is back.
    occupant.close();
    panel.start_search();
    EXPECT_EQ(prompt()->text(), "Double click on selected IP to connect Ethernet.");
    EXPECT_EQ(panel.bound_port(), t.local_port);
    ASSERT_TRUE(wait_for([&] { return responder.requests.size() == 1; }));
}

}  // namespace
}  // namespace t27::testing
