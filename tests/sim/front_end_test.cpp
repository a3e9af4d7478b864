#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "sim_process.h"

namespace t27::sim::testing {
namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

std::string temp_path(const char* tag) {
    return "/tmp/t27_sim_test_" + std::to_string(::getpid()) + "_" + tag;
}

std::string file_text(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// A control-channel exchange: one line out, one line back.
std::string control(int port, const std::string& line) {
    int fd = connect_loopback(port);
    if (fd < 0) return "no control channel";
    write_all(fd, line + "\n");
    std::string answer;
    while (answer.empty() || answer.back() != '\n') {
        std::string more = read_n(fd, 1, 3000);
        if (more.empty()) break;
        answer += more;
    }
    ::close(fd);
    return answer;
}

TEST(FrontEndTcp, AnswersLogsTheWireAndHandsOverToANewClient) {
    std::string log = temp_path("wire");
    std::remove(log.c_str());
    SimProcess sim({"--listen", "127.0.0.1:0", "--wire-log", log});
    ASSERT_TRUE(sim.ready());
    EXPECT_EQ(sim.announced("LISTEN").substr(0, 10), "127.0.0.1:");
    int a = connect_loopback(sim.port_of("LISTEN"));
    ASSERT_GE(a, 0);
    ASSERT_TRUE(write_all(a, "$mod"));
    ASSERT_TRUE(write_all(a, "el?\r"));
    EXPECT_EQ(read_n(a, 13, 3000), "$model? T27\r\n");

    // The unit serves one client: a second connection replaces the first.
    int b = connect_loopback(sim.port_of("LISTEN"));
    ASSERT_GE(b, 0);
    ASSERT_TRUE(write_all(b, "$fwver?\r\n"));
    EXPECT_EQ(read_n(b, 17, 3000), "$fwver? 2.18.07\r\n");
    bool eof = false;
    read_for(a, 2000, &eof);
    EXPECT_TRUE(eof);
    ::close(a);
    ::close(b);

    EXPECT_EQ(sim.terminate(), 0);
    EXPECT_EQ(file_text(log), "$model?\r$fwver?\r\n");
    std::remove(log.c_str());
}

TEST(FrontEndTcp, ControlChannelArmsFaultsAtRunTime) {
    SimProcess sim({"--listen", "127.0.0.1:0", "--control", "127.0.0.1:0"});
    ASSERT_TRUE(sim.ready());
    int ctl = sim.port_of("CONTROL");
    int c = connect_loopback(sim.port_of("LISTEN"));
    ASSERT_GE(c, 0);
    EXPECT_EQ(control(ctl, "set model T28"), "ok\n");
    EXPECT_EQ(control(ctl, "frobnicate"), "error: unknown command 'frobnicate'\n");
    write_all(c, "$model?\r");
    EXPECT_EQ(read_n(c, 13, 3000), "$model? T28\r\n");

    EXPECT_EQ(control(ctl, "delay 300"), "ok\n");
    auto t0 = Clock::now();
    write_all(c, "$model?\r");
    EXPECT_EQ(read_n(c, 13, 3000), "$model? T28\r\n");
    EXPECT_GE(ms_since(t0), 290.0);
    EXPECT_EQ(control(ctl, "delay 0"), "ok\n");

    EXPECT_EQ(control(ctl, "close"), "ok\n");
    write_all(c, "$model?\r");
    bool eof = false;
    EXPECT_EQ(read_for(c, 3000, &eof), "");
    EXPECT_TRUE(eof);
    ::close(c);
    EXPECT_EQ(sim.terminate(), 0);
}

TEST(FrontEndTcp, CloseMidBlockCutsTheDataBlock) {
    SimProcess sim({"--listen", "127.0.0.1:0", "--fault", "close-mid-block"});
    ASSERT_TRUE(sim.ready());
    int c = connect_loopback(sim.port_of("LISTEN"));
    ASSERT_GE(c, 0);
    write_all(c, "$edid_read d2,block0\r");
    bool eof = false;
    std::string got = read_for(c, 3000, &eof);
    EXPECT_TRUE(eof);
    const std::string line = "$edid_read d2,block0\r\n";
    ASSERT_GT(got.size(), line.size());
    EXPECT_EQ(got.substr(0, line.size()), line);
    EXPECT_LT(got.size(), line.size() + 386);
    ::close(c);
}

// 115200 baud at ten bits per byte is 11.52 bytes per millisecond, so the
// 386 characters after the reply line take about 33.5 ms.
TEST(FrontEndTcp, SerialRateStretchesTheDataBlock) {
    SimProcess sim({"--listen", "127.0.0.1:0", "--baud", "115200"});
    ASSERT_TRUE(sim.ready());
    int c = connect_loopback(sim.port_of("LISTEN"));
    ASSERT_GE(c, 0);
    write_all(c, "$edid_read d1,block0\r");
    const std::string line = "$edid_read d1,block0\r\n";
    std::string head = read_n(c, line.size(), 3000);
    ASSERT_EQ(head, line);
    auto t0 = Clock::now();
    std::string block = read_n(c, 386, 3000);
    double elapsed = ms_since(t0);
    ASSERT_EQ(block.size(), 386u);
    EXPECT_EQ(block.substr(384), "\r\n");
    const double expected = 386 / 11.52;
    EXPECT_GT(elapsed, expected - 5.0);
    EXPECT_LT(elapsed, expected + 60.0);
    ::close(c);
}

TEST(FrontEndPty, PlainOpenOfThePrintedPathTalksToTheUnit) {
    std::string link = temp_path("pty");
    SimProcess sim({"--listen", "none", "--pty", "--pty-link", link});
    ASSERT_TRUE(sim.ready());
    std::string path = sim.announced("PTY");
    ASSERT_EQ(path.substr(0, 9), "/dev/pts/");
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(write_all(fd, "$task_mode pattern\r"));
    // Raw mode: the CR arrives unchanged and nothing is echoed back.
    EXPECT_EQ(read_n(fd, 20, 3000), "$task_mode pattern\r\n");
    // The pty runs at 115200 baud by default. The simulator paces on a
    // millisecond clock, so a short reply can come up to a millisecond early;
    // a whole EDID block (408 bytes, about 35 ms) shows the rate beyond that.
    auto t0 = Clock::now();
    ASSERT_TRUE(write_all(fd, "$edid_read d1,block0\r"));
    EXPECT_EQ(read_n(fd, 22 + 386, 3000).size(), 22u + 386u);
    EXPECT_GT(ms_since(t0), (22 + 386) / 11.52 - 2.0);
    ::close(fd);

    // The same line through the symlink.
    int fd2 = ::open(link.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd2, 0);
    write_all(fd2, "$task_mode?\r");
    EXPECT_EQ(read_n(fd2, 21, 3000), "$task_mode? pattern\r\n");
    ::close(fd2);

    EXPECT_EQ(sim.terminate(), 0);
    EXPECT_NE(::access(link.c_str(), F_OK), 0) << "the link goes with the simulator";
}

class Udp {
  public:
    Udp() {
        fd_ = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    }
    ~Udp() { ::close(fd_); }
    void send_to(int port, const std::string& bytes) {
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_port = htons(static_cast<std::uint16_t>(port));
        sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    }
    std::string receive(int timeout_ms) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, timeout_ms) <= 0) return {};
        char buf[1500];
        ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
        return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
    }

  private:
    int fd_ = -1;
};

TEST(FrontEndDiscovery, AnswersTheRequestOnLoopbackOnly) {
    SimProcess sim({"--listen", "127.0.0.1:0", "--discovery", "127.0.0.1:0", "--model", "T28",
                    "--discovery-mac", "02:00:00:00:00:2A"});
    ASSERT_TRUE(sim.ready());
    Udp u;
    u.send_to(sim.port_of("DISCOVERY"), "hello");
    EXPECT_EQ(u.receive(300), "");
    u.send_to(sim.port_of("DISCOVERY"), std::string("\x01\x00\xFF\xFF", 4));
    std::string a = u.receive(3000);
    ASSERT_GE(a.size(), 2u + 8u + 6u + 5u);
    EXPECT_EQ(a.substr(2, 8), std::string("\x02\x06\x02\x00\x00\x00\x00\x2A", 8));
    EXPECT_EQ(a.substr(10, 6), std::string("\x03\x04\x7F\x00\x00\x01", 6));
    // The name follows the model text, as the unit names itself.
    EXPECT_EQ(a.substr(16, 5), std::string("\x0D\x03T28", 5));
    EXPECT_EQ(a[21], '\x0E');
}

TEST(FrontEnd, BadStartOptionsFailWithoutServing) {
    SimProcess sim({"--listen", "127.0.0.1:0", "--fault", "explode"});
    EXPECT_FALSE(sim.ready());
    EXPECT_EQ(sim.terminate(), 2);
}

}  // namespace
}  // namespace t27::sim::testing
