// t27ctl against t27-unit-sim, both as real processes, over TCP on 127.0.0.1
// and over a pseudo-terminal.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "tests/e2e/process_support.h"

namespace t27::testing {
namespace {

class CliTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const char* name) const { return dir.path() + "/" + name; }

    std::string read(const QString& file) const {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) return {};
        return f.readAll().toStdString();
    }

    QTemporaryDir dir;
};

TEST_F(CliTest, LinksOverTcpAndRecoversADroppedFirstReply) {
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--listen", "127.0.0.1:0", "--model", "RO-3Z", "--board", "2", "--fault",
                           "drop 1", "--wire-log", path("wire.log"), "--quiet"}));
    const CtlResult r =
        run_ctl({"--tcp", QString::fromStdString(sim.listen), "send", "$fwver?", "$task_mode?"});
    EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("link: model=RO-3Z . family=1 board=2"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("catalogue=v4l_timing_pattern.ini"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("> $fwver?\n  status: 1 Accepted\n  param1: 2.18.07\n  param2: None\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("  reply: $task_mode? analyser<CR><LF>"), std::string::npos) << r.out;
    const std::string wire = read(path("wire.log"));
    EXPECT_EQ(count_of(wire, "$model?\r"), 2);  // the first reply was dropped and sent again
    EXPECT_TRUE(r.err.empty()) << r.err;
}

TEST_F(CliTest, LinksOverAPseudoTerminalAndRecoversADroppedFirstReply) {
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--listen", "none", "--pty", "--fault", "drop 1", "--wire-log",
                           path("wire.log"), "--quiet"}));
    ASSERT_FALSE(sim.pty.empty());
    const CtlResult r =
        run_ctl({"--serial", QString::fromStdString(sim.pty), "send", "$boot?", "$help"});
    EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("link: model=T27 family=0"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("<EOT>"), std::string::npos) << r.out;
    // The help list carries no parameters of its own; "$boot?"'s are not its.
    EXPECT_NE(r.out.find("> $help\n  status: 1 Accepted\n  param1: None\n  param2: None\n"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(count_of(read(path("wire.log")), "$model?\r"), 2);

    // The pseudo-terminal stays usable for the next program that opens it.
    const CtlResult again =
        run_ctl({"--serial", QString::fromStdString(sim.pty), "send", "$task_mode pattern"});
    EXPECT_EQ(again.exit_code, 0) << again.out << again.err;
    EXPECT_NE(again.out.find("param1: pattern"), std::string::npos) << again.out;
}

TEST_F(CliTest, EdidWriteBytesOnTheWireAreTheSameOverBothLinks) {
    QByteArray image(256, '\0');
    for (int i = 0; i < 256; ++i) image[i] = static_cast<char>((i * 37) & 0xFF);
    {
        QFile f(path("image.bin"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(image);
    }
    const QStringList lines = {"send", "$edid_write c1,block0", "$edid_write c1,block1",
                               "$edid_read c1,block1"};
    SimProcess tcp_sim;
    ASSERT_TRUE(
        tcp_sim.start({"--listen", "127.0.0.1:0", "--wire-log", path("tcp.log"), "--quiet"}));
    CtlResult r = run_ctl(QStringList{"--tcp", QString::fromStdString(tcp_sim.listen), "--edid-bin",
                                      path("image.bin")} +
                          lines);
    EXPECT_EQ(r.exit_code, 0) << r.out << r.err;

    SimProcess pty_sim;
    ASSERT_TRUE(
        pty_sim.start({"--listen", "none", "--pty", "--wire-log", path("pty.log"), "--quiet"}));
    r = run_ctl(QStringList{"--serial", QString::fromStdString(pty_sim.pty), "--edid-bin",
                            path("image.bin")} +
                lines);
    EXPECT_EQ(r.exit_code, 0) << r.out << r.err;

    const std::string tcp_wire = read(path("tcp.log"));
    const std::string pty_wire = read(path("pty.log"));
    EXPECT_EQ(tcp_wire, pty_wire);
    // The block went out as upper-case triplets: byte 1 is 37 = 0x25.
    EXPECT_NE(tcp_wire.find("$edid_write c1,block0\r00 25 4A "), std::string::npos);
    // And the unit stored it: the read-back of block 1 starts with byte 128.
    EXPECT_NE(r.out.find("param2: block1"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("<CR><LF>"), std::string::npos);
    const int b128 = (128 * 37) & 0xFF;
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X ", b128);
    EXPECT_NE(r.out.find(std::string("<LF>")), std::string::npos);
    EXPECT_NE(r.out.find(hex), std::string::npos);
}

TEST_F(CliTest, EdidReadWriteThroughTheUnit) {
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--listen", "127.0.0.1:0", "--quiet"}));
    const QString at = QString::fromStdString(sim.listen);
    CtlResult r = run_ctl({"--tcp", at, "edid", "read", "sink_h", "-o", path("sink.bin")});
    ASSERT_EQ(r.exit_code, 0) << r.out << r.err;
    r = run_ctl({"--tcp", at, "edid", "write", "c2", path("sink.bin")});
    ASSERT_EQ(r.exit_code, 0) << r.out << r.err;
    r = run_ctl({"--tcp", at, "edid", "read", "c2", "-o", path("c2.bin")});
    ASSERT_EQ(r.exit_code, 0) << r.out << r.err;
    const std::string sink = read(path("sink.bin"));
    const std::string c2 = read(path("c2.bin"));
    ASSERT_GE(sink.size(), 256u);
    ASSERT_EQ(c2.size(), 256u);  // the slots take two blocks
    EXPECT_EQ(c2, sink.substr(0, 256));
    EXPECT_EQ(run_ctl({"--tcp", at, "edid", "read", "nowhere", "-o", path("x.bin")}).exit_code != 0,
              true);
}

// The unit's sink image edited as a file, printed as JSON, and an edit that
// cannot be made: the Qt-free front end alone, no unit needed after the read.
TEST_F(CliTest, EdidEditAndDecodeAsFiles) {
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--listen", "127.0.0.1:0", "--quiet"}));
    CtlResult r = run_ctl({"--tcp", QString::fromStdString(sim.listen), "edid", "read", "sink_h",
                           "-o", path("sink.bin")});
    ASSERT_EQ(r.exit_code, 0) << r.out << r.err;
    r = run_ctl({"edid", "edit", path("sink.bin"), path("edited.hex"), "--name", "CLI EDITED"});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    r = run_ctl({"edid", "decode", path("edited.hex"), "--json"});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    QStringList names;
    for (const QJsonValue part : doc["blocks"][0]["parts"].toArray())
        for (const QJsonValue field : part["fields"].toArray())
            if (field["key"] == "monitor_name") names << field["value"].toString();
    EXPECT_EQ(names, QStringList{"CLI EDITED"});

    r = run_ctl({"edid", "edit", path("sink.bin"), path("never.bin"), "--name", "FOURTEEN CHARS"});
    EXPECT_EQ(r.exit_code, 65);
    EXPECT_NE(r.err.find("at most 13"), std::string::npos) << r.err;
    EXPECT_FALSE(QFile::exists(path("never.bin")));
}

TEST_F(CliTest, ExitCodesFollowTheLastFailure) {
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--listen", "127.0.0.1:0", "--control", "127.0.0.1:0", "--quiet"}));
    const QString at = QString::fromStdString(sim.listen);

    CtlResult r = run_ctl({"--tcp", at, "send", "$fwver?", "$no_such_thing"});
    EXPECT_EQ(r.exit_code, 3) << r.out;
    EXPECT_NE(r.out.find("status: 3 ErrorReply"), std::string::npos);

    r = run_ctl({"--tcp", at, "--no-link", "send", "$fwver?"});
    EXPECT_EQ(r.exit_code, 2) << r.out;
    EXPECT_NE(r.err.find("Do [Refresh] or [Link] first !"), std::string::npos) << r.err;

    r = run_ctl({"--tcp", at, "--no-link", "send", "$boot?"});
    EXPECT_EQ(r.exit_code, 0) << r.out << r.err;

    r = run_ctl({"--tcp", "127.0.0.1:1", "send", "$fwver?"});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_NE(r.err.find("Client could not find Server."), std::string::npos) << r.err;

    r = run_ctl({"--serial", "/dev/t27-no-such-port", "send", "$fwver?"});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_NE(r.err.find("RS-232 can not work on"), std::string::npos) << r.err;

    EXPECT_EQ(run_ctl({"send", "$fwver?"}).exit_code, 64);
    EXPECT_EQ(run_ctl({"--tcp", at}).exit_code, 64);
    EXPECT_EQ(run_ctl({"--tcp", "127.0.0.1:99999", "send", "x"}).exit_code, 64);
}

}  // namespace
}  // namespace t27::testing

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
