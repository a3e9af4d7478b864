// "t27ctl edid edit" and the editor's model: every image comes back byte for
// byte, each option changes what the analysis report says without adding a
// conformance failure (Debian's edid-decode is the judge), and an edit that
// cannot be made writes nothing.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "edid/analysis_report.h"
#include "edid/edid_check.h"
#include "app/t27ctl/edid_commands.h"
#include "edid/edid_files.h"
#include "edid/edit/edit_decode.h"
#include "edid/edit/edit_model.h"
#include "edid/edit/edit_ops.h"
#include "tests/edid/edid_image.h"
#include "tests/edid/temp_dir.h"

namespace t27 {
namespace {

namespace fs = std::filesystem;
using test::data_block;
using test::EdidImage;
using test::extended_block;
using test::TempDir;

struct CliRun {
    int rc;
    std::string out;
    std::string err;
};

CliRun edit(const std::vector<std::string>& args) {
    std::vector<std::string> all = {"edit"};
    all.insert(all.end(), args.begin(), args.end());
    std::ostringstream out;
    std::ostringstream err;
    const int rc = edid_cli_main(all, out, err);
    return {rc, out.str(), err.str()};
}

// The image a file holds, as OPEN puts it on the WRITE side.
std::string image_of(const std::string& path) {
    EdidLoad load = edid_file_load(path);
    edid_write_side_size_fix(load.buffer);
    return std::string(load.buffer.data.begin(), load.buffer.data.begin() + load.buffer.size);
}

// The failure lines of "edid-decode --check", or nothing when it is not installed.
std::optional<std::set<std::string>> conformance_failures(const std::string& path) {
    static const bool installed = std::system("command -v edid-decode > /dev/null 2>&1") == 0;
    if (!installed) return std::nullopt;
    std::set<std::string> lines;
    FILE* p = ::popen(("edid-decode --check '" + path + "' 2>&1").c_str(), "r");
    if (!p) return lines;
    char buf[1024];
    bool in_failures = false;
    std::string section;
    while (std::fgets(buf, sizeof buf, p)) {
        std::string line(buf);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        if (line == "Failures:") {
            in_failures = true;
        } else if (line.rfind("EDID conformity", 0) == 0) {
            in_failures = false;
        } else if (in_failures && !line.empty() && line[0] != ' ') {
            section = line;
        } else if (in_failures && line.rfind("  ", 0) == 0 && line.rfind("    ", 0) != 0) {
            // A failure is its line under its section; the numbers in it and
            // the lines below it detail what is still the same failure.
            std::string key = section + line;
            std::string plain;
            for (char c : key)
                if (!std::isdigit(static_cast<unsigned char>(c)) || plain.empty() ||
                    plain.back() != '#')
                    plain += std::isdigit(static_cast<unsigned char>(c)) ? '#' : c;
            lines.insert(plain);
        }
    }
    ::pclose(p);
    return lines;
}

struct Checked {
    EdidBuffer buffer;
    std::string report;
    std::optional<EdidModel> model;
};

Checked check(const std::string& path) {
    Checked c;
    EdidLoad load = edid_file_load(path);
    edid_write_side_size_fix(load.buffer);
    EdidBuffer working;
    edid_check(load.buffer, working);
    c.buffer = working;
    c.report = edid_report_text(working);
    c.model = EdidModel::parse(image_of(path));
    return c;
}

bool has_vic(const EdidModel& m, int vic) {
    for (const PartRef& r : data_blocks_of(m, DataBlockKind::video))
        for (int code : svd_codes(m.part(r.block, r.part)))
            if (svd_decode(code).vic == vic) return true;
    return false;
}

bool contains(const std::string& s, const std::string& part) {
    return s.find(part) != std::string::npos;
}

// The image files of those folders that exist.
std::vector<std::string> image_files(std::initializer_list<const char*> dirs,
                                     std::initializer_list<const char*> extensions) {
    std::vector<std::string> files;
    for (const char* dir : dirs) {
        if (!fs::is_directory(dir)) continue;
        for (const auto& e : fs::directory_iterator(dir))
            for (const char* ext : extensions)
                if (e.path().extension() == ext) files.push_back(e.path().string());
    }
    return files;
}

TEST(EdidEdit, EveryImageComesBackByteForByte) {
    const std::vector<std::string> files =
        image_files({T27_EDID_TEST_DATA, T27_EDID_SAMPLES}, {".bin", ".hex", ".ddc"});
    // The project's own images are always there; the real displays' only
    // beside the project.
    ASSERT_FALSE(files.empty());
    TempDir tmp;
    for (const std::string& in : files) {
        SCOPED_TRACE(in);
        const std::string image = image_of(in);
        for (const char* out_name : {"out.bin", "out.hex"}) {
            const std::string out = tmp.file(out_name);
            // Forced: images with a broken header come back as they are, too.
            const CliRun r = edit({in, out, "--force"});
            ASSERT_EQ(r.rc, 0) << r.err;
            EXPECT_EQ(image_of(out), image);
        }
        // An edit that writes a field's own value back changes nothing but
        // checksums, which an edited image always has right.
        auto m = EdidModel::parse(image);
        ASSERT_TRUE(m);
        const PartRef vendor = base_part(*m, EdidPartRole::vendor);
        const long long product =
            field_value(m->part(0, vendor.part).bytes, part_fields(m->part(0, vendor.part))[1]);
        ASSERT_TRUE(set_field_by_key(*m, vendor, "product_code", product).ok());
        const std::string again = m->serialize();
        ASSERT_EQ(again.size(), image.size());
        for (std::size_t i = 0; i < image.size(); ++i) {
            if (i % 128 == 127) {
                EdidBuffer buf;
                edid_store(buf, again);
                EXPECT_EQ(static_cast<unsigned char>(again[i]),
                          edid_expected_checksum(buf, static_cast<int>(i / 128)));
            } else {
                EXPECT_EQ(again[i], image[i]) << "byte " << i;
            }
        }
    }
}

struct OptionCase {
    std::vector<std::string> args;
    std::vector<const char*> samples;  // shared samples, then images built for the tests
    std::function<void(const Checked& before, const Checked& after, const std::string& err)> shows;
};

const char* const all_samples[] = {"hdmi-09.bin", "hdmi-13.bin",    "hf-16.bin",     "hf-20.bin",
                                   "hdr-24.bin",  "hdmi-tv-hd.bin", "hdmi-hf-6g.bin"};

std::function<void(const Checked&, const Checked&, const std::string&)> report_has(
    std::vector<std::string> lines) {
    return [lines](const Checked&, const Checked& after, const std::string&) {
        for (const std::string& l : lines) EXPECT_TRUE(contains(after.report, l + "\r\n")) << l;
    };
}

const std::vector<OptionCase>& option_cases() {
    static const std::vector<OptionCase> cases = {
        {{"--name", "EDITED TV 13C"}, {}, report_has({" Monitor Name = EDITED TV 13C"})},
        {{"--manufacturer", "ZYX"}, {}, report_has({" Manufacturer Name = ZYX"})},
        {{"--product", "4660"}, {}, report_has({" Product Code = 4660 (1234 h)"})},
        // The report's dump of block 0 shows the serial number and the date.
        {{"--serial", "305419896"},
         {},
         [](const Checked&, const Checked& a, const std::string&) {
             EXPECT_TRUE(contains(a.report, " 78 56 34 12 ")) << a.report.substr(0, 600);
         }},
        {{"--week", "10", "--year", "2020"},
         {},
         [](const Checked&, const Checked& a, const std::string&) {
             EXPECT_TRUE(contains(a.report, "\r\n 0A 1E ")) << a.report.substr(0, 600);
         }},
        {{"--add-vic", "16"},
         {},
         [](const Checked& b, const Checked& a, const std::string&) {
             EXPECT_TRUE(has_vic(*a.model, 16));
             if (!has_vic(*b.model, 16)) {
                 EXPECT_NE(a.report, b.report);
             }
         }},
        {{"--add-vic", "97"},
         {"hf-16.bin", "hf-20.bin"},
         [](const Checked& b, const Checked& a, const std::string& err) {
             EXPECT_TRUE(has_vic(*a.model, 97));
             EXPECT_EQ(err, "");  // these sinks take 600 MHz
             if (!has_vic(*b.model, 97)) {
                 EXPECT_NE(a.report, b.report);
             }
         }},
        {{"--remove-vic", "16"},
         {"hdmi-09.bin", "hf-20.bin", "hdmi-tv-hd.bin"},
         [](const Checked& b, const Checked& a, const std::string&) {
             EXPECT_FALSE(has_vic(*a.model, 16));
             EXPECT_NE(a.report, b.report);
         }},
        {{"--native-vic", "16"},
         {"hdmi-09.bin", "hf-16.bin", "hf-20.bin", "hdmi-tv-hd.bin", "hdmi-hf-6g.bin"},
         report_has({" First VIC = 1920x1080p 59/60 16:9"})},
        {{"--max-tmds-mhz", "225"},
         {"hdmi-09.bin", "hdmi-13.bin", "hf-16.bin", "hdmi-tv-hd.bin", "hdmi-hf-6g.bin"},
         [](const Checked& b, const Checked& a, const std::string&) {
             const PartRef h = data_blocks_of(*a.model, DataBlockKind::hdmi).front();
             EXPECT_EQ(static_cast<unsigned char>(a.model->part(h.block, h.part).bytes[7]), 45);
             EXPECT_NE(a.report, b.report);
         }},
        {{"--max-tmds-rate-mhz", "600"},
         {"hdmi-09.bin", "hdmi-13.bin", "hf-16.bin", "hf-20.bin", "hdmi-tv-hd.bin"},
         report_has({"EDID Type = HDMI 6G , Total 2 blocks", " 340MHz above =  Yes"})},
        {{"--hdr", "static"},
         {"hdmi-09.bin", "hdmi-13.bin", "hf-20.bin", "hdmi-tv-hd.bin"},
         [](const Checked&, const Checked& a, const std::string& err) {
             EXPECT_TRUE(contains(a.report, " HDR = Yes\r\n"));
             EXPECT_TRUE(contains(err, "warning: HDR static metadata without BT.2020")) << err;
         }},
        {{"--hdr", "none"}, {"hdr-24.bin", "hdmi-hf-6g.bin"}, report_has({" HDR = No"})},
        {{"--audio", "lpcm:8:48,96,192:16,20,24"},
         {},
         report_has({" LPCM =  Yes", " Bitstream =  No"})},
        // hf-16 has two bytes to spare, and a second descriptor takes three.
        {{"--audio", "ac3:6:48:640", "--audio", "eac3:8:48"},
         {"hdmi-09.bin", "hdmi-13.bin", "hf-20.bin", "hdr-24.bin", "hdmi-tv-hd.bin",
          "hdmi-hf-6g.bin"},
         report_has({" LPCM =  No", " Bitstream =  Yes"})},
        {{"--remove-block", "hdmi"},
         {"hdmi-09.bin", "hdmi-13.bin", "hdmi-tv-hd.bin"},
         report_has({" No H1.4b VSDB."})},
        // A one-block image padded with a blank block 1 is edited as one block:
        // a checksum written into the blank would make it a second block.
        {{"--name", "PADDED"},
         {"one-block-ff.bin"},
         [](const Checked&, const Checked& a, const std::string&) {
             EXPECT_EQ(a.buffer.size, 128);
             EXPECT_NE(a.buffer.type_code, edid_type_invalid) << a.report.substr(0, 200);
             EXPECT_TRUE(contains(a.report, " Monitor Name = PADDED\r\n"));
         }},
    };
    return cases;
}

TEST(EdidEdit, EachOptionShowsInTheReportAndAddsNoConformanceFailure) {
    const bool shared = fs::is_directory(T27_EDID_SAMPLES);
    TempDir tmp;
    int oracle_runs = 0;
    for (const OptionCase& c : option_cases()) {
        const std::vector<const char*> every(std::begin(all_samples), std::end(all_samples));
        for (const char* s : c.samples.empty() ? every : c.samples) {
            const std::string name = s;
            const bool built = fs::exists(std::string(T27_EDID_TEST_DATA) + "/" + name);
            if (!built && !shared) continue;
            const std::string in =
                (built ? std::string(T27_EDID_TEST_DATA) : std::string(T27_EDID_SAMPLES)) + "/" +
                name;
            const std::string out = tmp.file("out.bin");
            std::vector<std::string> args = {in, out};
            args.insert(args.end(), c.args.begin(), c.args.end());
            SCOPED_TRACE(name + " " + c.args[0] + " " + c.args[1]);
            const CliRun r = edit(args);
            ASSERT_EQ(r.rc, 0) << r.err;
            const Checked before = check(in);
            const Checked after = check(out);
            ASSERT_TRUE(after.model);
            for (int b = 0; b < after.buffer.block_count; ++b)
                EXPECT_EQ(after.buffer.byte(128 * b + 127),
                          edid_expected_checksum(after.buffer, b));
            c.shows(before, after, r.err);

            const auto failures_in = conformance_failures(in);
            if (!failures_in) continue;
            ++oracle_runs;
            const auto failures_out = conformance_failures(out);
            for (const std::string& f : failures_out.value_or(std::set<std::string>{}))
                EXPECT_TRUE(failures_in->count(f)) << "new edid-decode failure: " << f;
        }
    }
    if (oracle_runs == 0) std::puts("edid-decode is not installed: conformance not judged");
}

TEST(EdidEdit, AnEditThatCannotBeMadeWritesNothing) {
    TempDir tmp;
    // A CTA block whose vendor blocks (of an OUI no one has) fill it to the
    // last byte: 4 + 3 x 31 + 30 = 127.
    EdidImage full(2);
    const std::vector<int> payload(30, 0x11);
    full.cea(1, {data_block(3, payload), data_block(3, payload), data_block(3, payload),
                 data_block(3, std::vector<int>(29, 0x22))});
    const std::string full_path = tmp.write("full.bin", full.fix_checksums().bytes());
    const std::string tv = std::string(T27_EDID_TEST_DATA) + "/hdmi-tv-hd.bin";
    const std::string analog = std::string(T27_EDID_TEST_DATA) + "/analog-crt.bin";

    struct Refusal {
        std::string in;
        std::vector<std::string> args;
        int rc;
        const char* says;
    };
    const Refusal refusals[] = {
        {tv, {"--name", "FOURTEEN CHARS"}, 65, "14 characters; at most 13 fit"},
        {tv, {"--manufacturer", "A1C"}, 65, "three letters A-Z"},
        {analog, {"--add-vic", "16"}, 65, "no CTA-861 extension"},
        {full_path,
         {"--hdr", "static"},
         65,
         "4 bytes of its data blocks and detailed timings do not fit"},
        {full_path, {"--serial", "5", "--add-vic", "16,4"}, 65, "3 bytes of its data blocks"},
        {tv, {"--remove-vic", "97"}, 65, "VIC 97 is in no video data block"},
        {tv, {"--remove-block", "colorimetry"}, 65, "no colorimetry data block"},
        {tv, {"--remove-block", "frobs"}, 65, "unknown data block"},
        {tv, {"--max-tmds-mhz", "600"}, 65, "--max-tmds-rate-mhz"},
        {tv, {"--audio", "ac3:6:48"}, 65, "max bit rate"},
        {tv, {"--product", "70000"}, 65, "between 0 and 65535"},
        {tv, {"--week", "60"}, 65, "the week is"},
        {tv, {"--product", "many"}, 64, "takes a number"},
        {tv, {"--hdr", "dynamic"}, 64, "static or none"},
        {std::string(T27_EDID_TEST_DATA) + "/bad-header.bin",
         {"--name", "X"},
         65,
         "header is not 00 FF FF FF FF FF FF 00"},
        {tv, {"--hdr", "none"}, 65, "no HDR static metadata block to remove"},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.args[0] + " " + r.args[1]);
        const std::string out = tmp.file("never.bin");
        std::vector<std::string> args = {r.in, out};
        args.insert(args.end(), r.args.begin(), r.args.end());
        const CliRun run = edit(args);
        EXPECT_EQ(run.rc, r.rc);
        EXPECT_TRUE(contains(run.err, r.says)) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(fs::exists(out));
    }
}

// The 4:2:0 capability map names video descriptors by position, so moving
// or removing one moves its bit.
TEST(EdidEdit, CapabilityMapFollowsTheVideoDescriptors) {
    EdidImage img(2);
    // VICs 16, 4, 97, 96; the map marks 97 and 96 (positions 2 and 3).
    // Its second byte marks position 15, past the last VIC: a sink's stale
    // bit, which no edit can place and none may drop.
    img.cea(1, {data_block(2, {0x90, 0x04, 97, 96}), extended_block(15, {0x0C, 0x40})});
    const std::string image = img.fix_checksums().bytes();
    struct Step {
        std::function<EdidEdit(EdidModel&)> edit;
        std::vector<int> vics;
        int map;
    };
    const Step steps[] = {
        {[](EdidModel& m) { return edit_remove_vics(m, {4}); }, {0x90, 97, 96}, 0x06},
        {[](EdidModel& m) { return edit_native_vic(m, 96); }, {96, 16, 4, 97}, 0x09},
        {[](EdidModel& m) { return edit_add_vics(m, {3}); }, {0x90, 4, 97, 96, 3}, 0x0C},
        {[](EdidModel& m) {
             return edit_remove_vics(m, {97, 96});
         },
         {0x90, 4},
         0x00},
    };
    for (const Step& s : steps) {
        auto m = EdidModel::parse(image);
        ASSERT_TRUE(m);
        ASSERT_TRUE(s.edit(*m).ok());
        const PartRef v = data_blocks_of(*m, DataBlockKind::video).front();
        EXPECT_EQ(svd_codes(m->part(v.block, v.part)), s.vics);
        const PartRef map = data_blocks_of(*m, DataBlockKind::y420_map).front();
        EXPECT_EQ(static_cast<unsigned char>(m->part(map.block, map.part).bytes[2]), s.map);
        EXPECT_EQ(static_cast<unsigned char>(m->part(map.block, map.part).bytes[3]), 0x40);
    }
}

// What names VICs by position or follows from the blocks, through the
// command line: HDMI 3D entries, 4:2:0-only VICs, header bits, the bytes
// after the detailed timings.
TEST(EdidEdit, WhatRefersToAnEditedPartFollowsIt) {
    // VICs 16 (native), 4, 95, 3. The HDMI block lists HDMI VIC 1 (VIC 95)
    // and 3D: structures for all with a mask of positions 1 and 3 (VICs 4
    // and 3), frame packing for position 2 (VIC 95), side-by-side for 3.
    const std::vector<int> hdmi_3d = {0x03, 0x0C, 0x00, 0x10, 0x00, 0x00, 0x00, 0x20, 0xC0,
                                      0x27, 0x01, 0x00, 0x01, 0x00, 0x0A, 0x20, 0x38, 0x10};
    EdidImage three_d(2);
    three_d.cea(1, {data_block(2, {0x90, 0x04, 95, 0x03}), data_block(3, hdmi_3d)});
    // A zero-clock entry after one timing, then a serial number descriptor
    // that readers still show: not padding.
    EdidImage serial(2);
    serial.cea(1, {data_block(2, {0x90, 0x04})});
    const int d = 128 + 4 + 3;
    // The timing's first byte, 30h, would read as an audio block header to a
    // walk that went one byte too far.
    serial.set(d, {0x30, 0x2A, 0x80, 0x18, 0x71, 0x38, 0x2D, 0x40, 0x58, 0x2C, 0x45, 0x00});
    serial.set(d + 36, {0, 0, 0, 0xFF, 0, 'S', 'N', '1', '2', '3', '4', '5', '6', '7', '8', '9',
                        '0', 0x0A});
    // The same, with vendor blocks that leave two zero bytes at the end.
    EdidImage tight(2);
    tight.cea(1, {data_block(2, {0x90, 0x04}), data_block(3, std::vector<int>(31, 0x11)),
                  data_block(3, std::vector<int>(31, 0x22))});
    tight.set(128 + 71, {0x02, 0x3A, 0x80, 0x18, 0x71, 0x38, 0x2D, 0x40});
    tight.set(128 + 107, {0, 0, 0, 0xFF, 0, 'S', 'N', 0x0A}).fill(128 + 115, 128 + 125, 0x20);
    EdidImage y420(2);
    y420.cea(1, {data_block(2, {0x90}), extended_block(14, {97, 96})});
    EdidImage rev2(2);
    rev2.cea(1, {}).set(129, 2);

    TempDir tmp;
    const std::string three_d_path = tmp.write("3d.bin", three_d.fix_checksums().bytes());
    const std::string serial_path = tmp.write("serial.bin", serial.fix_checksums().bytes());
    const std::string tight_path = tmp.write("tight.bin", tight.fix_checksums().bytes());
    const std::string y420_path = tmp.write("y420.bin", y420.fix_checksums().bytes());
    const std::string rev2_path = tmp.write("rev2.bin", rev2.fix_checksums().bytes());
    const std::string descriptor = serial.bytes().substr(d + 36, 18);

    const auto hdmi_tail = [](const EdidModel& m) {
        const PartRef h = data_blocks_of(m, DataBlockKind::hdmi).front();
        std::vector<int> tail;
        const std::string& b = m.part(h.block, h.part).bytes;
        for (std::size_t k = 10; k < b.size(); ++k)
            tail.push_back(part_byte(b, static_cast<int>(k)));
        return tail;
    };
    struct Row {
        std::string in;
        std::vector<std::string> args;
        int rc;
        const char* out_says;
        const char* err_says;
        std::function<void(const EdidModel&)> holds;
    };
    const Row rows[] = {
        // 3D_LEN, HDMI VIC, structures, mask, entries follow the VICs.
        {three_d_path,
         {"--native-vic", "4"},
         0,
         "wrote",
         "",
         [&](const EdidModel& m) {
             EXPECT_EQ(hdmi_tail(m),
                       (std::vector<int>{0x27, 0x01, 0x00, 0x01, 0x00, 0x09, 0x20, 0x38, 0x10}));
         }},
        {three_d_path,
         {"--remove-vic", "95"},
         0,
         "the 3D entry of VIC 95",
         "HDMI VIC 1 stands for VIC 95",
         [&](const EdidModel& m) {
             EXPECT_EQ(hdmi_tail(m),
                       (std::vector<int>{0x26, 0x01, 0x00, 0x01, 0x00, 0x06, 0x28, 0x10}));
         }},
        {three_d_path,
         {"--remove-block", "video"},
         0,
         "the 3D_MASK bit of VIC 4",
         "HDMI VIC 1 stands for VIC 95",
         [&](const EdidModel& m) {
             EXPECT_EQ(hdmi_tail(m), (std::vector<int>{0x24, 0x01, 0x00, 0x01, 0x00, 0x00}));
         }},
        // The descriptor moves with the timings, whole, as the blocks grow or shrink.
        {serial_path,
         {"--add-vic", "97,98,99,100,101,102,103,104,105,106"},
         0,
         "wrote",
         "",
         [&](const EdidModel& m) {
             EXPECT_EQ(m.block(1).bytes().substr(d + 10 + 36 - 128, 18), descriptor);
         }},
        {serial_path,
         {"--remove-vic", "4"},
         0,
         "wrote",
         "",
         [&](const EdidModel& m) {
             EXPECT_EQ(m.block(1).bytes().substr(d - 1 + 36 - 128, 18), descriptor);
             EXPECT_EQ(m.block(1).bytes().substr(d - 1 + 54 - 128, 127 - (d - 1 + 54 - 128)),
                       std::string(static_cast<std::size_t>(127 - (d - 1 + 54 - 128)), '\0'));
         }},
        // Filled to byte 126 exactly; one byte more does not fit.
        {tight_path,
         {"--add-vic", "5,97"},
         0,
         "wrote",
         "",
         [&](const EdidModel& m) {
             EXPECT_EQ(m.block(1).bytes().substr(109, 18), tight.bytes().substr(128 + 107, 18));
             EXPECT_EQ(m.block(1).offset_of(static_cast<int>(m.block(1).parts.size()) - 1), 127);
         }},
        {tight_path, {"--add-vic", "5,97,98"}, 65, "", "1 byte of its data blocks", nullptr},
        // A 4:2:0-only VIC becomes a regular one, 4:2:0-capable by the map.
        {y420_path,
         {"--add-vic", "97"},
         0,
         "VIC 97: 3840x2160p 59/60 16:9 moves",
         "",
         [&](const EdidModel& m) {
             const PartRef v = data_blocks_of(m, DataBlockKind::video).front();
             EXPECT_EQ(svd_codes(m.part(v.block, v.part)), (std::vector<int>{0x90, 97}));
             const PartRef y = data_blocks_of(m, DataBlockKind::y420_video).front();
             EXPECT_EQ(svd_codes(m.part(y.block, y.part)), (std::vector<int>{96}));
             const PartRef map = data_blocks_of(m, DataBlockKind::y420_map).front();
             EXPECT_EQ(m.part(map.block, map.part).bytes, std::string("\xE2\x0F\x02", 3));
         }},
        {y420_path,
         {"--audio", "lpcm:2:48"},
         0,
         "basic audio set",
         "",
         [](const EdidModel& m) { EXPECT_EQ(part_byte(m.part(1, 0).bytes, 3), 0x40); }},
        {rev2_path,
         {"--add-vic", "16"},
         0,
         "revision 2 raised to 3",
         "",
         [](const EdidModel& m) { EXPECT_EQ(part_byte(m.part(1, 0).bytes, 1), 3); }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.in + " " + r.args[0] + " " + r.args[1]);
        const std::string out = tmp.file("out.bin");
        fs::remove(out);
        std::vector<std::string> args = {r.in, out};
        args.insert(args.end(), r.args.begin(), r.args.end());
        const CliRun run = edit(args);
        EXPECT_EQ(run.rc, r.rc) << run.err;
        EXPECT_TRUE(contains(run.out, r.out_says)) << run.out;
        EXPECT_TRUE(contains(run.err, r.err_says)) << run.err;
        if (r.rc != 0) {
            EXPECT_FALSE(fs::exists(out));
            continue;
        }
        const auto m = EdidModel::parse(image_of(out));
        ASSERT_TRUE(m);
        r.holds(*m);
        for (const PartRef& h : data_blocks_of(*m, DataBlockKind::hdmi))
            for (int i : hdmi_3d_vic_positions(m->part(h.block, h.part).bytes))
                EXPECT_LT(i, static_cast<int>(svd_codes(m->part(1, 1)).size()));
    }
}

// ---- every option on every real image ------------------------------------------------------

// The data blocks an option may change beyond the one it names.
std::vector<DataBlockKind> touched_kinds(const std::string& option, const std::string& value) {
    using K = DataBlockKind;
    const std::vector<K> vics = {K::video, K::y420_video, K::y420_map, K::hdmi};
    if (option == "--add-vic" || option == "--remove-vic" || option == "--native-vic") return vics;
    if (option == "--audio") return {K::audio};
    if (option == "--hdr") return {K::hdr_static};
    if (option == "--max-tmds-mhz") return {K::hdmi};
    if (option == "--max-tmds-rate-mhz") return {K::hdmi_forum};
    if (option == "--remove-block") {
        for (const DataBlockType& t : data_block_types())
            if (value == t.key) return t.kind == K::video ? vics : std::vector<K>{t.kind};
    }
    return {};
}

// Why the output changed more than the option and its re-layout may, or
// nothing. Block 0 may change in the parts the option names, a CTA block in
// the data blocks it touches, its header (data offset; revision and flags
// when the output said so) and its zero padding; everything else stays.
std::string untouched_fault(const EdidModel& in, const EdidModel& out, const std::string& option,
                            const std::string& value, bool noted) {
    if (in.block_count() != out.block_count()) return "block count changed";
    const bool base = option == "--name" || option == "--manufacturer" || option == "--product" ||
                      option == "--serial" || option == "--week";
    for (int p = 0; p < static_cast<int>(in.block(0).parts.size()); ++p) {
        const EdidPartRole role = in.part(0, p).role;
        const bool may = base && (option == "--name" ? role == EdidPartRole::descriptor
                                                     : role == EdidPartRole::vendor);
        if (!may && role != EdidPartRole::checksum && in.part(0, p).bytes != out.part(0, p).bytes)
            return "block 0 " + part_key(in, 0, p) + " changed";
    }
    const std::vector<DataBlockKind> touched = touched_kinds(option, value);
    for (int b = 1; b < in.block_count(); ++b) {
        const std::string bi = in.block(b).bytes();
        const std::string bo = out.block(b).bytes();
        if (!in.block(b).is_cta()) {
            if (bi.substr(0, 127) != bo.substr(0, 127)) return "block " + std::to_string(b);
            continue;
        }
        if (bi[0] != bo[0]) return "CTA tag changed";
        if (!noted && (bi[1] != bo[1] || bi[3] != bo[3]))
            return "CTA header of block " + std::to_string(b) + " changed without a word";
        const auto kept = [&touched](const EdidModel& m, int blk) {
            std::vector<std::pair<EdidPartRole, std::string>> parts;
            for (const EdidPart& part : m.block(blk).parts) {
                if (part.role == EdidPartRole::cta_header || part.role == EdidPartRole::checksum ||
                    part.role == EdidPartRole::padding)
                    continue;
                if (part.role == EdidPartRole::data_block &&
                    std::find(touched.begin(), touched.end(), data_block_kind(part.bytes)) !=
                        touched.end())
                    continue;
                parts.emplace_back(part.role, part.bytes);
            }
            return parts;
        };
        if (kept(in, b) != kept(out, b))
            return "an untouched part of block " + std::to_string(b) + " changed";
        for (const EdidPart& part : out.block(b).parts)
            if (part.role == EdidPartRole::padding &&
                part.bytes.find_first_not_of('\0') != std::string::npos)
                return "non-zero padding in block " + std::to_string(b);
    }
    return {};
}

// Options with a value that fits the image, as "t27ctl edid edit" takes them.
std::vector<std::vector<std::string>> fitting_options(const EdidModel& m) {
    std::vector<int> vics;
    for (const PartRef& r : data_blocks_of(m, DataBlockKind::video))
        for (int code : svd_codes(m.part(r.block, r.part))) vics.push_back(svd_decode(code).vic);
    const auto listed = [&vics](int v) {
        return std::find(vics.begin(), vics.end(), v) != vics.end();
    };
    std::vector<std::vector<std::string>> options = {
        {"--name", "CORPUS EDIT"},
        {"--manufacturer", "ZYX"},
        {"--product", "4660"},
        {"--serial", "305419896"},
        {"--week", "10"},
        {"--max-tmds-mhz", "300"},
        {"--max-tmds-rate-mhz", "600"},
        {"--hdr", "static"},
        {"--hdr", "none"},
        {"--audio", "lpcm:2:48"},
        {"--audio", "ac3:6:48:640"},
    };
    for (int v : {16, 4, 97})
        if (!listed(v)) {
            options.push_back({"--add-vic", std::to_string(v)});
            break;
        }
    std::string ten;
    for (int v = 97; v <= 106; ++v) ten += (ten.empty() ? "" : ",") + std::to_string(v);
    options.push_back({"--add-vic", ten});
    if (!vics.empty()) {
        options.push_back({"--remove-vic", std::to_string(vics.front())});
        options.push_back({"--native-vic", std::to_string(vics.back())});
    }
    for (const DataBlockType& t : data_block_types())
        if (t.kind != DataBlockKind::other && !data_blocks_of(m, t.kind).empty())
            options.push_back({"--remove-block", t.key});
    return options;
}

// A failure the request itself implies, when the edit warned of it.
bool warned_of(const std::string& failure, const std::string& err) {
    const std::pair<const char*, const char*> implied[] = {
        {"Native progressive timings are a mix", "marked native"},
        {"A native interlaced timing", "marked native"},
        {"DisplayID native progressive resolution", "marked native"},
        {"out of range of the Monitor Ranges", "the range limits allow"},
        {"HDMI VIC Codes must have their", "which no video data block lists now"},
        {"Missing VCDB", "without a video capability data block"},
        {"timings are missing in the established timings", "640x480p60"},
    };
    for (const auto& [fails, warns] : implied)
        if (contains(failure, fails) && contains(err, std::string("warning: ")) &&
            contains(err, warns))
            return true;
    return false;
}

TEST(EdidEdit, EveryOptionOnEveryRealImageBreaksNothing) {
    std::vector<std::string> files =
        image_files({T27_EDID_SAMPLES, T27_EDID_CORPUS}, {".bin", ".hex"});
    if (files.empty()) GTEST_SKIP() << "no real images beside the project";
    if (!conformance_failures(files.front())) GTEST_SKIP() << "edid-decode is not installed";
    std::sort(files.begin(), files.end());

    struct Tally {
        int applied = 0, warned = 0, refused = 0, broken = 0;
    };
    struct Run {
        std::map<std::string, Tally> tally;
        std::vector<std::string> broken;
    };
    TempDir tmp;
    // edid-decode runs as a process for every output: two at a time.
    const auto run_share = [&files, &tmp](std::size_t share) {
        Run run;
        auto& tally = run.tally;
        auto& broken = run.broken;
        const std::string in = tmp.file("in" + std::to_string(share) + ".bin");
        const std::string out = tmp.file("out" + std::to_string(share) + ".bin");
        for (std::size_t k = share; k < files.size(); k += 2) {
            const std::string& file = files[k];
            const std::string image = image_of(file);
            const auto model = EdidModel::parse(image);
            if (!model) continue;
            std::ofstream(in, std::ios::binary) << image;
            const auto failures_in = conformance_failures(in);
            for (const std::vector<std::string>& option : fitting_options(*model)) {
                fs::remove(out);
                std::vector<std::string> args = {in, out};
                args.insert(args.end(), option.begin(), option.end());
                const CliRun r = edit(args);
                Tally& t =
                    tally[option[0] + (option[0] == "--remove-block" || option[0] == "--hdr" ||
                                               option[0] == "--audio"
                                           ? " " + option[1]
                                       : option[1].size() > 3 && option[0] == "--add-vic" ? " (ten)"
                                                                                          : "")];
                const std::string what =
                    fs::path(file).filename().string() + " " + option[0] + " " + option[1] + ": ";
                if (r.rc == 65 && !fs::exists(out) && r.out.empty()) {
                    ++t.refused;
                    continue;
                }
                std::string fault;
                if (r.rc != 0) fault = "exit " + std::to_string(r.rc) + " " + r.err;
                const std::string after = r.rc == 0 ? image_of(out) : std::string();
                const auto out_model = EdidModel::parse(after);
                if (fault.empty() && !out_model) fault = "output does not parse";
                if (fault.empty()) {
                    EdidBuffer buf;
                    edid_store(buf, after);
                    for (int b = 0; b < buf.block_count && fault.empty(); ++b)
                        if (buf.byte(128 * b + 127) != edid_expected_checksum(buf, b))
                            fault = "bad checksum in block " + std::to_string(b);
                }
                if (fault.empty())
                    fault = untouched_fault(*model, *out_model, option[0], option[1],
                                            contains(r.out, "also: "));
                const bool warned = contains(r.err, "warning: ");
                if (fault.empty() && after != image) {
                    for (const std::string& f :
                         conformance_failures(out).value_or(std::set<std::string>{}))
                        if (!failures_in->count(f) && !warned_of(f, r.err))
                            fault = "new failure: " + f;
                }
                if (!fault.empty()) {
                    ++t.broken;
                    broken.push_back(what + fault);
                } else {
                    ++t.applied;
                    if (warned) ++t.warned;
                }
            }
        }
        return run;
    };
    auto other = std::async(std::launch::async, run_share, 1);
    Run runs[2] = {run_share(0), other.get()};
    std::map<std::string, Tally> tally;
    std::vector<std::string> broken;
    for (const Run& r : runs) {
        for (const auto& [name, t] : r.tally) {
            Tally& all = tally[name];
            all.applied += t.applied;
            all.warned += t.warned;
            all.refused += t.refused;
            all.broken += t.broken;
        }
        broken.insert(broken.end(), r.broken.begin(), r.broken.end());
    }
    std::string summary =
        "| option | applied | of which warned | refused | broken |\n|---|---|---|---|---|\n";
    for (const auto& [name, t] : tally)
        summary += "| `" + name + "` | " + std::to_string(t.applied) + " | " +
                   std::to_string(t.warned) + " | " + std::to_string(t.refused) + " | " +
                   std::to_string(t.broken) + " |\n";
    std::printf("%zu images\n%s", files.size(), summary.c_str());
    for (const std::string& b : broken) ADD_FAILURE() << b;
}

// 01 01 marks an unused standard timing: it reads and is set as such, not
// as a timing 256 pixels wide.
TEST(EdidEdit, UnusedStandardTimingIsShownAndSetAsUnused) {
    EdidImage img(1);
    img.fill(38, 54, 0x01).set(40, {0xD1, 0xC0});
    auto m = EdidModel::parse(img.fix_checksums().bytes());
    ASSERT_TRUE(m);
    const PartRef st = base_part(*m, EdidPartRole::standard);
    const auto keys = [&m, st] {
        std::set<std::string> k;
        for (const EdidField& f : part_fields(m->part(0, st.part))) k.insert(f.key);
        return k;
    };
    EXPECT_TRUE(keys().count("st1_unused") && !keys().count("st1_width"));
    EXPECT_TRUE(keys().count("st2_width"));
    const struct {
        const char* key;
        int value;
        int at;
        std::string bytes;
    } steps[] = {
        {"st2_unused", 1, 2, std::string("\x01\x01", 2)},
        {"st1_unused", 0, 0, std::string("\xD1\xC0", 2)},
        {"st1_unused", 0, 0, std::string("\xD1\xC0", 2)},  // in use stays as it is
    };
    for (const auto& s : steps) {
        ASSERT_TRUE(set_field_by_key(*m, st, s.key, s.value).ok()) << s.key;
        EXPECT_EQ(m->part(0, st.part).bytes.substr(static_cast<std::size_t>(s.at), 2), s.bytes);
    }
    EXPECT_TRUE(contains(edid_decode_json(*m),
                         "\"st2_unused\",\"label\":\"Standard timing 2 unused\",\"value\":true"));
}

}  // namespace
}  // namespace t27
