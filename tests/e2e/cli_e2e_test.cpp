// t27ctl against t27-unit-sim, both as real processes, over TCP on 127.0.0.1
// and over a pseudo-terminal.
#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <tuple>

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

    // The unit hangs up partway through a run of lines: the lines after
    // it were not sent, whatever came back before.
    {
        ASSERT_EQ(sim.control_line("delay 400"), "ok");
        QProcess p;
        p.start(QStringLiteral(T27CTL_BIN), {"--tcp", at, "--no-link", "send", "$boot?", "$boot?",
                                             "$boot?", "$boot?"});
        ASSERT_TRUE(p.waitForStarted(5000));
        QByteArray out;
        while (!out.contains("reply:") && p.waitForReadyRead(10000)) out += p.readAllStandardOutput();
        ASSERT_EQ(sim.control_line("close"), "ok");
        ASSERT_TRUE(p.waitForFinished(30000));
        out += p.readAllStandardOutput();
        EXPECT_EQ(p.exitCode(), 1) << out.toStdString();
        EXPECT_GE(count_of(out.toStdString(), "status: 1 Accepted"), 1) << out.toStdString();
        EXPECT_NE(out.indexOf("status: 0 NotSent"), -1) << out.toStdString();
        ASSERT_EQ(sim.control_line("clear"), "ok");
    }

    for (const QStringList& args : {QStringList{"send", "$fwver?"}, QStringList{"--tcp", at},
                                    QStringList{"--tcp", "127.0.0.1:99999", "send", "x"},
                                    QStringList{"bogus"}, QStringList{"--tcp", at, "timing", "5"}}) {
        r = run_ctl(args);
        EXPECT_EQ(r.exit_code, 64) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.empty()) << r.out;
    }
    EXPECT_NE(run_ctl({"bogus"}).err.find("unknown command 'bogus'"), std::string::npos);
}

// Every command and subcommand answers --help at once: exit 0, without a
// display, and without a word to the unit even with a link named.
TEST_F(CliTest, EveryCommandAnswersHelpWithoutALinkOrADisplay) {
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--listen", "127.0.0.1:0", "--wire-log", path("wire.log"), "--quiet"}));
    const CtlResult listed = run_ctl({"--commands"});
    ASSERT_EQ(listed.exit_code, 0);
    const QStringList commands = QString::fromStdString(listed.out).trimmed().split('\n');
    for (const char* expected : {"send", "edid report", "edid read", "edid write", "task",
                                 "timing set", "pattern set", "panel set", "sweep",
                                 "monitor watch", "monitor-report", "cable run"})
        EXPECT_TRUE(commands.contains(QString::fromLatin1(expected))) << expected;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    for (const QString& command : commands) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(T27CTL_BIN),
                QStringList{"--tcp", QString::fromStdString(sim.listen)} + command.split(' ') +
                    QStringList{"--help"});
        ASSERT_TRUE(p.waitForFinished(10000)) << command.toStdString();
        EXPECT_EQ(p.exitCode(), 0) << command.toStdString();
        const QByteArray help = p.readAllStandardOutput();
        EXPECT_TRUE(help.contains(("usage: t27ctl " + command).toUtf8())) << help.toStdString();
    }
    EXPECT_EQ(read(path("wire.log")), "");
}

// What reached the unit since `from` bytes of its wire log, without the
// link queries every t27ctl command starts with.
std::string requests_after_link(const std::string& wire, std::size_t from) {
    static const std::string link = "$model?\r$board_id?\r$fwver?\r$task_mode?\r";
    std::string tail = wire.substr(std::min(from, wire.size()));
    if (tail.empty()) return tail;  // a usage error: not even a link
    if (tail.rfind(link, 0) == 0) return tail.substr(link.size());
    return "(no link first) " + tail;
}

bool parses_as_json(const std::string& text) {
    QJsonParseError e{};
    const QJsonDocument d = QJsonDocument::fromJson(QByteArray::fromStdString(text), &e);
    return e.error == QJsonParseError::NoError && d.isObject();
}

std::string sim_control(const SimProcess& sim, const std::string& line) {
    QTcpSocket s;
    const std::size_t colon = sim.control.rfind(':');
    s.connectToHost(QStringLiteral("127.0.0.1"),
                    static_cast<quint16>(std::stoi(sim.control.substr(colon + 1))));
    if (!s.waitForConnected(2000)) return "no control channel";
    s.write((line + "\n").c_str());
    while (!s.canReadLine())
        if (!s.waitForReadyRead(2000)) return "no answer";
    return s.readLine().trimmed().toStdString();
}

TEST_F(CliTest, GeneratorCommandsSendWhatTheTabsSendAndSweepInOrder) {
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--listen", "127.0.0.1:0", "--control", "127.0.0.1:0", "--wire-log",
                           path("wire.log"), "--quiet"}));
    const QStringList link = {"--tcp", QString::fromStdString(sim.listen)};
    struct Case {
        QStringList args;
        int exit_code;
        std::string sent;  // the requests after the link queries
        std::string out;   // a line of stdout, or a part of stderr when failing
    };
    // The exact name wins over the names that hold it; case and a unique
    // part of a name are enough; a part of many names or of none sends
    // nothing. Timing 88 follows the input and exists only for the analyser.
    const Case cases[] = {
        {{"task", "pattern"}, 0, "$task_mode pattern\r", "task: pattern\n"},
        {{"timing", "set", "1920x1080p 60Hz"}, 0, "$timing 30\r", "timing: 30 1920x1080p 60Hz\n"},
        {{"timing", "set", "1920X1080P 60HZ 3d"}, 0, "$timing 39\r", "timing: 39 "},
        {{"timing", "set", "60Hz"}, 64, "", "  30  1920x1080p 60Hz\n"},
        {{"timing", "set", "no such timing"}, 64, "", "no timing is named"},
        {{"timing", "set", "113"}, 64, "", "not in the unit's catalogue"},
        {{"timing", "set", "9999999"}, 64, "", "9999999 is out of range"},
        {{"timing", "set", "5", "6"}, 64, "", "not expected: 6"},
        {{"timing", "set", "88"}, 3, "", "only in the analyser task"},
        {{"pattern", "set", "7"}, 0, "$pattern 7\r", "pattern: 7 Blue Field\n"},
        {{"pattern", "set", "scroll", "--motion-text", " HELLO "},
         0,
         "$pattern 41\r$motion_text HELLO\r",
         "motion text: HELLO\n"},
        {{"pattern", "set", "7", "--motion-text", "x"}, 64, "", "takes no motion text"},
        // Options stand anywhere; -- ends them.
        {{"pattern", "set", "--motion-text", "xx", "41"},
         0,
         "$pattern 41\r$motion_text xx\r",
         "motion text: xx\n"},
        {{"pattern", "set", "--", "7"}, 0, "$pattern 7\r", "pattern: 7 Blue Field\n"},
        {{"panel", "set", "hdr on/off", "on"}, 0, "$hdr_sw on\r", "panel: HDR On/Off = On\n"},
        {{"panel", "set", "Tx HDCP Out", "v2.2"},
         0,
         "$hdcp_out_sw on\r$hdcp_out_ver v2.2\r",
         "panel: Tx HDCP Out = v2.2\n"},
        // A lone word is no choice; nor is a row's own name, inside a caption.
        {{"panel", "set", "System"}, 64, "", "CHOICE is required"},
        {{"panel", "set", "System", "system"}, 64, "", "is the row"},
        {{"panel", "set", "System", "Factory Reset"}, 64, "", "add --yes"},
        {{"panel", "set", "system", "reboot"}, 64, "", "add --yes"},
        // The tab disables the channel count while the audio comes from HDMI.
        {{"panel", "set", "audio source", "hdmi"},
         0,
         "$audio_source hdmi\r",
         "panel: Audio Source = HDMI In\n"},
        {{"panel", "set", "Audio Channel", "5.1 CH"}, 3, "$audio_source? \r", "cannot be chosen"},
        {{"sweep", "--timings", "1-5", "--patterns", "7", "--dwell", "0.05"},
         0,
         "$timing 1\r$pattern 7\r$timing 2\r$pattern 7\r$timing 3\r$pattern 7\r"
         "$timing 4\r$pattern 7\r$timing 5\r$pattern 7\r",
         "  timing 5 \"720(1440)x480i 59.94Hz\"  pattern 7 \"Blue Field\"  accepted\n"},
        // Refused as `timing set 88` is, when it is all there is to sweep.
        {{"sweep", "--timings", "88", "--dwell", "0"}, 3, "", "timing 88"},
    };
    for (const Case& c : cases) {
        const std::size_t before = read(path("wire.log")).size();
        const CtlResult r = run_ctl(link + c.args);
        const std::string said = c.exit_code == 0 ? r.out : r.err;
        EXPECT_EQ(r.exit_code, c.exit_code) << c.args.join(' ').toStdString() << "\n" << r.err;
        EXPECT_EQ(requests_after_link(read(path("wire.log")), before), c.sent)
            << c.args.join(' ').toStdString();
        EXPECT_NE(said.find(c.out), std::string::npos) << said;
        if (c.args[0] == "sweep" && c.exit_code == 0) {
            EXPECT_EQ(count_of(r.out, " accepted\n"), 5) << r.out;
        }
    }

    for (const char* what : {"timing", "panel"}) {
        const CtlResult r = run_ctl(link + QStringList{what, "list", "--json"});
        EXPECT_EQ(r.exit_code, 0) << r.err;
        EXPECT_TRUE(parses_as_json(r.out)) << r.out;
    }
    CtlResult r =
        run_ctl(link + QStringList{"sweep", "--timings", "86-89", "--dwell", "0", "--json"});
    EXPECT_EQ(r.exit_code, 3) << r.err;
    EXPECT_NE(r.err.find("timing 88"), std::string::npos) << r.err;  // left out in pattern mode
    const QList<QByteArray> lines = QByteArray::fromStdString(r.out).trimmed().split('\n');
    ASSERT_EQ(lines.size(), 3) << r.out;
    for (const QByteArray& line : lines) EXPECT_TRUE(parses_as_json(line.toStdString())) << r.out;

    // A link that goes away mid-sweep ends it with what was done; Ctrl-C
    // and SIGTERM end it after the step in hand, with the code a shell
    // gives a program the signal ended.
    struct Stop {
        int signal;  // 0: the link is lost
        int exit_code;
    };
    for (const Stop stop : {Stop{0, 2}, Stop{SIGINT, 130}, Stop{SIGTERM, 143}}) {
        const bool lose_link = stop.signal == 0;
        QProcess p;
        p.start(QStringLiteral(T27CTL_BIN),
                link + QStringList{"sweep", "--timings", "1-5", "--dwell", "2"});
        ASSERT_TRUE(p.waitForStarted(5000));
        QByteArray out;
        while (out.count('\n') < 2 && p.waitForReadyRead(10000)) out += p.readAllStandardOutput();
        ASSERT_EQ(out.count('\n'), 2) << out.toStdString();  // the link line and step 1
        if (lose_link)
            ASSERT_EQ(sim_control(sim, "close"), "ok");
        else
            ::kill(static_cast<pid_t>(p.processId()), stop.signal);
        ASSERT_TRUE(p.waitForFinished(20000));
        out += p.readAllStandardOutput();
        EXPECT_EQ(p.exitCode(), stop.exit_code) << p.readAllStandardError().toStdString();
        EXPECT_EQ(count_of(out.toStdString(), " accepted\n"), 1) << out.toStdString();
    }
}

// What a script reads from --json must parse whatever the unit sent: a
// reply with raw bytes 0x80-0xFF, an invalid EDID, a cable run.
TEST_F(CliTest, JsonOutputIsOneDocumentWithTheNamedFields) {
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--listen", "127.0.0.1:0", "--task", "cable", "--time-scale", "120",
                           "--fault", "garbage 40", "--quiet"}));
    const QString at = QString::fromStdString(sim.listen);
    const QString data = QStringLiteral(T27_EDID_TEST_DATA);
    struct Case {
        QStringList args;
        int exit_code;
        QStringList fields;  // members of the top-level object
    };
    const std::vector<Case> cases = {
        // Noise bytes before the first reply: a wrong command word, logged raw.
        {{"--tcp", at, "--no-link", "send", "--json", "$boot?"}, 3, {"link", "lines"}},
        {{"--tcp", at, "send", "--json", "$fwver?", "$no_such_thing"}, 3, {"link", "lines"}},
        {{"edid", "check", "--json", data + "/badsum-block0.hex"},
         1,
         {"file", "valid", "error", "type", "manufacturer", "model", "native", "checksums"}},
        {{"edid", "compare", "--json", data + "/badsum-block0.hex", data + "/analog-crt.bin"},
         1,
         {"a", "b", "match", "result", "differing"}},
        {{"--tcp", at, "cable", "run", "--time", "1", "--json"},
         0,
         {"link", "task_was", "time", "level", "elapsed_s", "result", "error"}},
    };
    for (const Case& c : cases) {
        const std::string what = c.args.join(' ').toStdString();
        const CtlResult r = run_ctl(c.args);
        EXPECT_EQ(r.exit_code, c.exit_code) << what << "\n" << r.out << r.err;
        EXPECT_EQ(r.out.find("FW:"), std::string::npos) << what << ": " << r.out;
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError)
            << what << ": " << error.errorString().toStdString() << "\n"
            << r.out;
        ASSERT_TRUE(doc.isObject()) << what;
        for (const QString& field : c.fields)
            EXPECT_TRUE(doc.object().contains(field)) << what << ": no " << field.toStdString();
    }
}

// A unit that is not there (nothing listens) or does not answer (a socket
// that accepts and stays silent): each --json command still prints one
// document, with "link" null and an "error" naming the failure, and exits
// with its documented code.
TEST_F(CliTest, JsonWhenTheUnitDoesNotAnswerIsOneDocumentWithTheError) {
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    QTcpServer gone;
    ASSERT_TRUE(gone.listen(QHostAddress::LocalHost, 0));
    const QString nobody = QStringLiteral("127.0.0.1:%1").arg(gone.serverPort());
    gone.close();
    const QString mute = QStringLiteral("127.0.0.1:%1").arg(silent.serverPort());
    const QList<QStringList> commands = {{"send", "--json", "$fwver?"},
                                         {"cable", "run", "--json"},
                                         {"monitor-report", "--json"},
                                         {"timing", "list", "--json"},
                                         {"panel", "list", "--json"}};
    for (const auto& [at, exit_code, error] :
         {std::tuple{nobody, 1, "Client could not find Server."},
          std::tuple{mute, 2, "the unit could not be identified (NoResponse)"}}) {
        for (const QStringList& command : commands) {
            const QStringList args = QStringList{"--tcp", at} + command;
            const std::string what = args.join(' ').toStdString();
            const CtlResult r = run_ctl(args);
            EXPECT_EQ(r.exit_code, exit_code) << what << "\n" << r.err;
            QJsonParseError e{};
            const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &e);
            ASSERT_EQ(e.error, QJsonParseError::NoError) << what << "\n" << r.out;
            EXPECT_TRUE(doc.object().contains("link")) << what;
            EXPECT_TRUE(doc.object().value("link").isNull()) << what << "\n" << r.out;
            EXPECT_EQ(doc.object().value("error").toString().toStdString(), error) << what << "\n"
                                                                                   << r.out;
        }
    }
}

}  // namespace
}  // namespace t27::testing

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
