#include <gtest/gtest.h>

#include <sstream>

#include "edid/analysis_report.h"
#include "edid/edid_check.h"
#include "edid/edid_cli.h"
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

TEST(EdidCli, UsageErrors) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {},
             {"frobnicate"},
             {"report"},
             {"report", "a", "b"},
             {"compare", "a"},
             {"convert", "a.bin"},
             {"convert", "a.bin", "b.txt"},
             {"convert", "a.bin", "b.hex", "--hex-type", "pascal"}}) {
        const CliRun r = run(args);
        EXPECT_EQ(r.rc, 64);
        EXPECT_NE(r.err.find("usage: t27ctl edid"), std::string::npos);
        EXPECT_TRUE(r.out.empty());
    }
    const CliRun help = run({"--help"});
    EXPECT_EQ(help.rc, 0);
    EXPECT_NE(help.out.find("usage:"), std::string::npos);
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
