#include <gtest/gtest.h>

#include <sstream>

#include "edid/analysis_report.h"
#include "edid/edid_check.h"
#include "app/t27ctl/command_line.h"
#include "app/t27ctl/edid_commands.h"
#include "edid_image.h"
#include "temp_dir.h"

namespace t27 {
namespace {

using test::data_block;
using test::EdidImage;
using test::TempDir;

struct CliRun {
    int rc;
    std::string out;
    std::string err;
};

CliRun run(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int rc = edid_cli_main(args, out, err);
    return {rc, out.str(), err.str()};
}

// An HDMI TV: "SAM" 0x1234, 1080p, name "CLI TV", CEA block with VIC 16.
EdidImage tv() {
    EdidImage img(2);
    img.set(8, {0x4C, 0x2D, 0x34, 0x12}).set(20, 0x80);
    img.timing(1, 14850, 1920, 280, 1080, 45).name(2, "CLI TV");
    img.cea(1, {data_block(2, {0x90}), data_block(3, {0x03, 0x0C, 0x00, 0x10, 0x00})});
    return img.fix_checksums();
}

TEST(EdidCli, UsageErrorsNameWhatWasWrong) {
    struct Case {
        std::vector<std::string> args;
        const char* says;
    };
    const Case cases[] = {
        {{}, "t27ctl edid: A subcommand is required"},
        {{"frobnicate"}, "unknown command 'frobnicate'"},
        {{"report"}, "t27ctl edid report: FILE is required"},
        {{"report", "a", "b"}, "not expected: b"},
        {{"compare", "a"}, "B is required"},
        {{"convert", "a.bin"}, "OUT is required"},
        {{"convert", "a.bin", "b.txt"}, "must end in .hex or .bin"},
        {{"convert", "a.bin", "b.hex", "--hex-type", "pascal"}, "pascal not in {simple,c}"},
        {{"convert", "a.bin", "b.hex", "--hex-type"}, "--hex-type: 1 required TEXT"},
        {{"check", "--bogus", "a.bin"}, "not expected: --bogus"},
        {{"edit", "a.bin", "b.bin", "--name"}, "--name: 1 required"},
    };
    for (const Case& c : cases) {
        const CliRun r = run(c.args);
        EXPECT_EQ(r.rc, 64) << c.says;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("--help"), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"edit", "--help"}, {"report", "x", "--help"}}) {
        const CliRun help = run(args);
        EXPECT_EQ(help.rc, 0);
        EXPECT_NE(help.out.find("usage: t27ctl edid"), std::string::npos) << help.out;
    }
}

// The one tree every t27ctl command line is read by: options before, among
// and after the command words, -- ending them, edits kept in their order.
TEST(CtlCommandLine, ReadsOptionsAnywhere) {
    using Edits = std::vector<std::pair<std::string, std::string>>;
    struct Case {
        std::vector<std::string> args;
        CtlCommand command;
        std::vector<std::string> words;
        std::string tcp_host = "h";
        Edits edits = {};
    };
    const Case cases[] = {
        {{"--tcp", "h", "pattern", "set", "--motion-text", "xx", "41"},
         CtlCommand::pattern_set,
         {"41"}},
        {{"pattern", "set", "41", "--tcp", "h:2323"}, CtlCommand::pattern_set, {"41"}},
        {{"pattern", "--tcp", "h", "set", "--", "-7"}, CtlCommand::pattern_set, {"-7"}},
        {{"send", "--tcp", "h", "$a", "--json", "$b"}, CtlCommand::send, {"$a", "$b"}},
        {{"panel", "set", "System", "Reboot System", "--yes", "--tcp", "h"},
         CtlCommand::panel_set,
         {"System", "Reboot System"}},
        // edit's own --serial is the EDID's; the link's falls through to the top.
        {{"edid", "edit", "a.bin", "--serial", "5", "b.hex", "--audio", "x", "--name", "n",
          "--audio", "y"},
         CtlCommand::edid_edit,
         {"a.bin", "b.hex"},
         "",
         {{"--serial", "5"}, {"--audio", "x"}, {"--name", "n"}, {"--audio", "y"}}},
    };
    for (const Case& c : cases) {
        CtlArgs a;
        std::ostringstream out, err;
        ASSERT_EQ(ctl_parse(c.args, a, out, err), std::nullopt) << c.args[0] << err.str();
        EXPECT_EQ(a.command, c.command) << err.str();
        EXPECT_EQ(a.words, c.words);
        EXPECT_EQ(a.link.tcp_host, c.tcp_host);
        EXPECT_EQ(a.edits, c.edits);
    }
    CtlArgs a;
    std::ostringstream out, err;
    ASSERT_EQ(ctl_parse({"--tcp", "h:2323", "pattern", "set", "--motion-text", "", "41"}, a, out,
                        err),
              std::nullopt);
    EXPECT_EQ(a.link.tcp_port, 2323);
    EXPECT_EQ(a.motion_text, std::optional<std::string>(""));

    struct Refusal {
        std::vector<std::string> args;
        const char* says;
    };
    const Refusal refusals[] = {
        {{"--tcp", "h", "panel", "set", "System"}, "CHOICE is required"},
        {{"--tcp", "h", "timing", "set", "5", "6"}, "not expected: 6"},
        {{"--tcp", "h:0", "send", "x"}, "bad port '0'"},
        {{"--tcp", "h:65536", "send", "x"}, "bad port"},
        {{"--tcp", "h", "sweep", "--dwell", "-1"}, "takes seconds"},
        {{"--tcp", "h", "sweep", "--dwell", "86401"}, "takes seconds"},
        {{"--tcp", "h", "monitor-report", "-o", ""}, "needs a file"},
        {{"--tcp", "h", "cable", "run", "--time", "8"}, "8 not in"},
        {{"task", "pattern"}, "give one of --tcp and --serial"},
        {{"--tcp", "h", "--serial", "COM1", "task"}, "excludes"},
        {{"--tcp", "h", "bogus"}, "unknown command 'bogus'"},
    };
    for (const Refusal& r : refusals) {
        std::ostringstream o, e;
        EXPECT_EQ(ctl_parse(r.args, a, o, e), std::optional<int>(64)) << r.says;
        EXPECT_NE(e.str().find(r.says), std::string::npos) << e.str();
        EXPECT_TRUE(o.str().empty());
    }
}

TEST(EdidCli, ReportPrintsTheAnalysisText) {
    TempDir dir;
    const std::string path = dir.write("tv.bin", tv().bytes());
    const CliRun r = run({"report", path});
    ASSERT_EQ(r.rc, 0) << r.err;
    EdidBuffer buf = tv().buffer();
    edid_check_in_place(buf);
    EXPECT_EQ(r.out, edid_report_text(buf));
    EXPECT_EQ(r.out.substr(0, 40), "EDID Type = HDMI HD , Total 2 blocks\r\n\r\n");
    EXPECT_NE(r.out.find(" First VIC = 1920x1080p 59/60 16:9\r\n"), std::string::npos);
}

TEST(EdidCli, UnreadableAndWrongFiles) {
    TempDir dir;
    CliRun r = run({"report", dir.file("missing.bin")});
    EXPECT_EQ(r.rc, 66);
    EXPECT_NE(r.err.find("missing.bin"), std::string::npos);

    r = run({"check", dir.write("edid.txt", "00")});
    EXPECT_EQ(r.rc, 65);
    EXPECT_NE(r.err.find("File format"), std::string::npos);

    r = run({"check", dir.write("bad.hex", "12 3X")});
    EXPECT_EQ(r.rc, 65);
    EXPECT_NE(r.err.find("Data"), std::string::npos);
}

TEST(EdidCli, CheckPrintsTypeAndChecksumLabels) {
    TempDir dir;
    const EdidImage img = tv();
    CliRun r = run({"check", dir.write("tv.bin", img.bytes())});
    EXPECT_EQ(r.rc, 0);
    char expected[256];
    std::snprintf(expected, sizeof expected,
                  "Type: HDMI HD\nManufacturer: SAM\nModel: CLI TV\nNative: 1920x1080p\n"
                  "BK0=%Xh\nBK1=%Xh\n",
                  img.get(127), img.get(255));
    EXPECT_EQ(r.out, expected);

    EdidImage bad = tv();
    bad.set(255, img.get(255) ^ 0x10);
    r = run({"check", dir.write("bad.bin", bad.bytes())});
    EXPECT_EQ(r.rc, 1);
    std::snprintf(expected, sizeof expected, "BK1=%Xh Error\n", img.get(255));
    EXPECT_EQ(r.out.substr(0, 19), "Wrong --- Checksum\n");
    EXPECT_NE(r.out.find(expected), std::string::npos);
}

TEST(EdidCli, ConvertBetweenFormats) {
    TempDir dir;
    const std::string bin = dir.write("tv.bin", tv().bytes());
    ASSERT_EQ(run({"convert", bin, dir.file("tv.hex"), "--hex-type", "c"}).rc, 0);
    EXPECT_EQ(TempDir::read(dir.file("tv.hex")).substr(0, 10), "0x00,0xFF,");
    ASSERT_EQ(run({"convert", dir.file("tv.hex"), dir.file("back.BIN")}).rc, 0);
    EXPECT_EQ(TempDir::read(dir.file("back.BIN")), tv().bytes());
    ASSERT_EQ(run({"convert", bin, dir.file("simple.hex")}).rc, 0);
    EXPECT_EQ(TempDir::read(dir.file("simple.hex")).substr(0, 31),
              "00 FF FF FF FF FF FF 00 //7  \r\n");
    EXPECT_EQ(run({"convert", bin, dir.file("no/dir/x.bin")}).rc, 73);
}

TEST(EdidCli, CompareListsDifferingBytes) {
    TempDir dir;
    EdidImage other = tv();
    other.set(200, 0xAB).set(10, 0x35);
    const std::string a = dir.write("a.bin", tv().bytes());
    const std::string b = dir.write("b.bin", other.bytes());
    CliRun r = run({"compare", a, a});
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(r.out, "Match entirely.\n");
    r = run({"compare", a, b});
    EXPECT_EQ(r.rc, 1);
    char expected[128];
    std::snprintf(expected, sizeof expected,
                  "2 wrong data !\nbyte 10 (Ah): 34 35\nbyte 200 (C8h): %02X AB\n", tv().get(200));
    EXPECT_EQ(r.out, expected);
}

}  // namespace
}  // namespace t27
