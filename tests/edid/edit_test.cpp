// "t27ctl edid edit" and the editor's model: every image comes back byte for
// byte, each option changes what the analysis report says without adding a
// conformance failure (Debian's edid-decode is the judge), and an edit that
// cannot be made writes nothing.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <sstream>

#include "edid/analysis_report.h"
#include "edid/edid_check.h"
#include "edid/edid_cli.h"
#include "edid/edid_files.h"
#include "edid/edit_model.h"
#include "edid/edit_ops.h"
#include "edid_image.h"
#include "temp_dir.h"

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
    while (std::fgets(buf, sizeof buf, p)) {
        std::string line(buf);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        if (line == "Failures:") {
            in_failures = true;
        } else if (line.rfind("EDID conformity", 0) == 0) {
            in_failures = false;
        } else if (in_failures && !line.empty()) {
            lines.insert(line);
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

TEST(EdidEdit, EveryImageComesBackByteForByte) {
    std::vector<std::string> files;
    for (const char* dir : {T27_EDID_TEST_DATA, T27_EDID_SAMPLES}) {
        if (!fs::is_directory(dir)) continue;
        for (const auto& e : fs::directory_iterator(dir)) {
            const std::string ext = e.path().extension().string();
            if (ext == ".bin" || ext == ".hex" || ext == ".ddc") files.push_back(e.path().string());
        }
    }
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
    img.cea(1, {data_block(2, {0x90, 0x04, 97, 96}), extended_block(15, {0x0C})});
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
    };
    for (const Step& s : steps) {
        auto m = EdidModel::parse(image);
        ASSERT_TRUE(m);
        ASSERT_TRUE(s.edit(*m).ok());
        const PartRef v = data_blocks_of(*m, DataBlockKind::video).front();
        EXPECT_EQ(svd_codes(m->part(v.block, v.part)), s.vics);
        const PartRef map = data_blocks_of(*m, DataBlockKind::y420_map).front();
        EXPECT_EQ(static_cast<unsigned char>(m->part(map.block, map.part).bytes[2]), s.map);
    }
}

}  // namespace
}  // namespace t27
