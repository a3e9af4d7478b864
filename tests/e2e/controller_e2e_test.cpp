// t27-controller and t27-unit-sim as separate processes: the window opens the
// saved interface and links, over TCP on a 127.x.y.z address and over a
// pseudo-terminal reached as a COM number.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "tests/e2e/process_support.h"

namespace t27::testing {
namespace {

class ControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        const QString data = QStringLiteral(T27_DATA_DIR);
        for (const QString& f : QDir(data).entryList({"*.ini"}, QDir::Files))
            QFile::copy(data + "/" + f, dir.path() + "/" + f);
    }

    void write(const QString& name, const QByteArray& bytes) {
        QFile f(dir.path() + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    void settings(int iface, const char* ip, int com) {
        QByteArray s = QByteArray::number(iface) + "\r\n\"" + ip + "\"\r\n" +
                       QByteArray::number(com) + "\r\n1500\r\n1500\r\n";
        for (int i = 0; i < 10; ++i) s += "\"\"\r\n";
        write("Daveri_ini.txt", s);
    }

    void start_controller(const QStringList& extra) {
        controller.setProcessChannelMode(QProcess::MergedChannels);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        controller.setProcessEnvironment(env);
        controller.start(QStringLiteral(T27_CONTROLLER_BIN),
                         QStringList{"--program-dir", dir.path(), "--open"} + extra);
        ASSERT_TRUE(controller.waitForStarted(5000));
    }

    std::string wire() const {
        QFile f(dir.path() + "/wire.log");
        if (!f.open(QIODevice::ReadOnly)) return {};
        return f.readAll().toStdString();
    }

    bool wait_for_wire(const std::string& text, int timeout_ms) {
        for (int waited = 0; waited < timeout_ms; waited += 50) {
            if (wire().find(text) != std::string::npos) return true;
            QThread::msleep(50);
        }
        return false;
    }

    void TearDown() override {
        if (controller.state() != QProcess::NotRunning) {
            controller.terminate();
            if (!controller.waitForFinished(3000)) controller.kill();
            controller.waitForFinished(1000);
        }
    }

    QTemporaryDir dir;
    QProcess controller;
};

TEST_F(ControllerTest, LinksOverTcpOnALoopbackAddress) {
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--listen", "127.0.0.2:0", "--wire-log", dir.path() + "/wire.log",
                           "--quiet"}));
    const std::string port = sim.listen.substr(sim.listen.rfind(':') + 1);
    settings(1, "127.0.0.2", 1);
    start_controller({"--unit-port", QString::fromStdString(port)});
    ASSERT_TRUE(wait_for_wire("$task_mode?\r", 15000)) << wire();
    const std::string w = wire();
    EXPECT_EQ(w.find("$model?\r"), 0u) << w;  // nothing was sent before linking
    EXPECT_NE(w.find("$board_id?\r$fwver?\r$task_mode?\r"), std::string::npos) << w;
}

TEST_F(ControllerTest, LinksOverAPseudoTerminalMappedToACom) {
    const QString link = dir.path() + "/unit-tty";
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--listen", "none", "--pty-link", link, "--wire-log",
                           dir.path() + "/wire.log", "--quiet"}));
    write("com_ports.txt", "COM7=" + link.toUtf8() + "\n");
    settings(0, "", 7);
    start_controller({});
    ASSERT_TRUE(wait_for_wire("$task_mode?\r", 15000)) << wire();
    EXPECT_EQ(wire().find("$boot?\r$model?\r"), 0u) << wire();
}

// What the command line asks is answered, or refused, before any window
// exists: without a display, no abort.
TEST(ControllerOptions, AnsweredOrRefusedWithoutADisplay) {
    struct Case {
        QStringList args;
        int exit_code;
        const char* says;
    };
    const Case cases[] = {
        {{"--help"}, 0, "--unit-port"},
        {{"--help-all"}, 0, "--unit-port"},
        {{"--version"}, 0, "t27-controller"},
        {{"--bogus"}, 1, "bogus"},
        {{"--unit-port", "abc"}, 1, "not 'abc'"},
        {{"--unit-port", "99999"}, 1, "not '99999'"},
        {{"--unit-port", "0"}, 1, "not '0'"},
    };
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    for (const Case& c : cases) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral(T27_CONTROLLER_BIN), c.args);
        ASSERT_TRUE(p.waitForFinished(20000)) << c.args.join(' ').toStdString();
        const std::string said = p.readAll().toStdString();
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << said;
        EXPECT_EQ(p.exitCode(), c.exit_code) << c.args.join(' ').toStdString() << "\n" << said;
        EXPECT_NE(said.find(c.says), std::string::npos) << said;
    }
}

}  // namespace
}  // namespace t27::testing

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
