// Whole images through the file readers, the check and the report: the
// images built for these tests (tests/data/edid, see its README) and, when the
// shared folder is there, real displays' images.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>

#include "edid/analysis_report.h"
#include "edid/analysis_tree.h"
#include "edid/check_labels.h"
#include "edid/edid_check.h"
#include "edid/edid_files.h"

namespace t27 {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, at - start));
        start = at + 2;
    }
    return lines;
}

// Loads a file as OPEN does on the WRITE side, and checks it.
EdidBuffer load_checked(const std::string& path, EdidLoad& load) {
    load = edid_file_load(path);
    EdidBuffer working;
    if (load.ok()) {
        edid_write_side_size_fix(load.buffer);
        edid_check(load.buffer, working);
    }
    return working;
}

// `wanted` appear in `lines` in this order, each as a whole line; returns the
// first one missing.
std::string missing_in_order(const std::vector<std::string>& lines,
                             const std::vector<std::string>& wanted) {
    auto at = lines.begin();
    for (const std::string& w : wanted) {
        at = std::find(at, lines.end(), w);
        if (at == lines.end()) return w;
        ++at;
    }
    return {};
}

const std::vector<std::string> no_cea_findings = {
    "", " ----- Audio Format:", " No audio-data-block.",
    "", " ----- v1.4b VSDB:",   " No H1.4b VSDB.",
    "", " ----- HF VSDB:",      " No HF VSDB."};

struct ImageCase {
    const char* file;
    int size;
    const char* error;  // the check's error kind, "" when it passed
    const char* first_line;
    const char* manufacturer;
    const char* product;
    const char* name;
    const char* timing;               // the First Detailed Timing line's value
    std::vector<std::string> report;  // further lines, in this order
};

const ImageCase image_cases[] = {
    {"analog-crt.bin",
     128,
     "",
     "EDID Type = ANALOG , Total 1 blocks",
     "CRT",
     "23 (0017 h)",
     "ANALOG 17",
     "1280x1024p60.020",
     {}},
    {"dump-128.ddc",
     128,
     "",
     "EDID Type = ANALOG , Total 1 blocks",
     "CRT",
     "23 (0017 h)",
     "ANALOG 17",
     "1280x1024p60.020",
     {}},
    {"analog-vga-name13.bin",
     128,
     "",
     "EDID Type = ANALOG , Total 1 blocks",
     "VGA",
     "257 (0101 h)",
     "VGA MONITOR13",
     "1024x768p60.004",
     {}},
    {"dvi-monitor.bin",
     128,
     "",
     "EDID Type = DVI , Total 1 blocks",
     "DVM",
     "9216 (2400 h)",
     "DVI 24",
     "1920x1200p59.950",
     {}},
    {"dvi-cea-other-oui.hex",
     256,
     "",
     "EDID Type = DVI , Total 2 blocks",
     "DVC",
     "9217 (2401 h)",
     "DVI CEA",
     "1920x1080p60.000",
     {"============================== Block 1: CEA 861 Block", " First VIC = 1920x1080p 59/60 16:9",
      " No audio-data-block.", " No H1.4b VSDB.", " No HF VSDB.", " HDR = No", " Y420 = No"}},
    {"hdmi-tv-hd.bin",
     256,
     "",
     "EDID Type = HDMI HD , Total 2 blocks",
     "TVH",
     "4096 (1000 h)",
     "HD TV",
     "1920x1080p60.000",
     {" First VIC = 1920x1080p 59/60 16:9", "", " ----- Audio Format:", " LPCM =  Yes",
      " Bitstream =  No", " High Bit Rate =  No", "", " ----- v1.4b VSDB:", " Deepcolor =  No",
      " 3D =  No", " 4K3G =  No", "", " ----- HF VSDB:", " No HF VSDB.", "",
      " ----- Others:", " HDR = No", " Y420 = No"}},
    {"dump-256.ddc",
     256,
     "",
     "EDID Type = HDMI HD , Total 2 blocks",
     "TVH",
     "4096 (1000 h)",
     "HD TV",
     "1920x1080p60.000",
     {" LPCM =  Yes"}},
    {"hdmi-tv-1080i.bin",
     256,
     "",
     "EDID Type = HDMI 3G , Total 2 blocks",
     "TVI",
     "4097 (1001 h)",
     "INTERLACED TV",
     "1920x1080i60.000",
     {" First VIC = 1920x1080i 59/60 16:9", " LPCM =  Yes", " Bitstream =  Yes",
      " High Bit Rate =  No", " Deepcolor =  Yes", " 3D =  Yes", " 4K3G =  Yes", " No HF VSDB.",
      " HDR = No", " Y420 = No"}},
    {"hdmi-hf-6g.bin",
     256,
     "",
     "EDID Type = HDMI 6G , Total 2 blocks",
     "UHD",
     "8544 (2160 h)",
     "UHD TV 6G",
     "3840x2160p60.000",
     {" First VIC = 3840x2160p 59/60  16:9 ", " LPCM =  Yes", " Bitstream =  Yes",
      " High Bit Rate =  Yes", " Deepcolor =  Yes", " 3D =  No", " 4K3G =  No",
      " 340MHz above =  Yes", " SCDC =  Yes", " Y420 Deepcolor =  Yes", " HDR = Yes",
      " Y420 = Yes"}},
    {"hdmi-hf-first.bin",
     256,
     "",
     "EDID Type = HDMI 3G , Total 2 blocks",
     "HFF",
     "832 (0340 h)",
     "HF FIRST",
     "1920x1080p60.000",
     {" First VIC = 1920x1080p 59/60 16:9", " No audio-data-block.", " Deepcolor =  No",
      " 3D =  No", " 4K3G =  No", " 340MHz above =  Yes", " SCDC =  No", " Y420 Deepcolor =  No",
      " HDR = No", " Y420 = No"}},
    {"hdr-y420cmdb.bin",
     256,
     "",
     "EDID Type = HDMI 6G , Total 2 blocks",
     "HDR",
     "3344 (0D10 h)",
     "HDR MONITOR",
     "3840x2160p60.000",
     {" First VIC = 3840x2160p 59/60  16:9 ", " No audio-data-block.", " Deepcolor =  No",
      " No HF VSDB.", " HDR = Yes", " Y420 = Yes"}},
    {"three-block.bin",
     384,
     "",
     "EDID Type = HDMI HD , Total 3 blocks",
     "TRI",
     "3 (0003 h)",
     "THREE BLOCKS",
     "1920x1080p60.000",
     {"============================== Block 1: Video Timing Block (VTB)",
      " 10 01 00 00 00 00 00 00 //87", "", "",
      "============================== Block 2: CEA 861 Block", " 02 03 0C 70 41 10 65 03 //107", "",
      " First VIC = 1920x1080p 59/60 16:9", " No audio-data-block.", " Deepcolor =  No",
      " No HF VSDB.", " Y420 = No"}},
    {"four-block-map.bin",
     512,
     "",
     "EDID Type = HDMI HD , Total 4 blocks",
     "MAP",
     "4 (0004 h)",
     "BLOCK MAP",
     "1920x1080p60.000",
     {"============================== Block 1: Block Map",
      " F0 02 02 00 00 00 00 00 //87",
      "",
      " Block 2= CEA 861 Block",
      " Block 3= CEA 861 Block",
      "",
      "============================== Block 2: CEA 861 Block",
      " First VIC = 1920x1080p 59/60 16:9",
      " LPCM =  Yes",
      " Deepcolor =  No",
      " No HF VSDB.",
      " Y420 = No",
      "============================== Block 3: CEA 861 Block",
      " No video-data-block.",
      " No audio-data-block.",
      " No H1.4b VSDB.",
      " 340MHz above =  Yes",
      " SCDC =  Yes",
      " Y420 Deepcolor =  No",
      " HDR = No",
      " Y420 = Yes"}},
    {"badsum-block1.bin",
     256,
     "Checksum",
     "Total 2 blocks",
     "BAD",
     "1 (0001 h)",
     "BAD CHECKSUM",
     "1920x1080p60.000",
     {" First VIC = 1920x1080p 59/60 16:9"}},
    {"badsum-block0.hex",
     128,
     "Checksum",
     "Total 1 blocks",
     "BAD",
     "2 (0002 h)",
     "BAD BLOCK0",
     "1280x1024p60.020",
     {}},
    {"bad-header.bin",
     128,
     "Header",
     ">>>>> ! Block0 has bad header.",
     "HDX",
     "5 (0005 h)",
     "BAD HEADER",
     "1920x1080p60.000",
     {}},
    {"one-block-ff.bin",
     128,
     "",
     "EDID Type = DVI , Total 1 blocks",
     "ONE",
     "7 (0007 h)",
     "ONE BLOCK",
     "1920x1080p60.000",
     {}},
};

TEST(EdidImages, BuiltImagesReportWhatTheirBytesSay) {
    for (const ImageCase& c : image_cases) {
        SCOPED_TRACE(c.file);
        EdidLoad load;
        const EdidBuffer buf = load_checked(std::string(T27_EDID_TEST_DATA) + "/" + c.file, load);
        ASSERT_TRUE(load.ok()) << edid_load_error_name(load.error) << load.io_message;
        EXPECT_EQ(buf.size, c.size);
        EXPECT_EQ(check_message_labels(buf).msg2, c.error);
        EXPECT_EQ(buf.manufacturer, c.manufacturer);
        EXPECT_EQ(buf.monitor_name, c.name);

        const auto lines = lines_of(edid_report_text(buf));
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines[0], c.first_line);
        std::vector<std::string> wanted = {"============================== Block 0: VESA BASE EDID",
                                           std::string(" Manufacturer Name = ") + c.manufacturer,
                                           std::string(" Product Code = ") + c.product,
                                           std::string(" Monitor Name = ") + c.name,
                                           std::string(" First Detailed Timing = ") + c.timing};
        wanted.insert(wanted.end(), c.report.begin(), c.report.end());
        EXPECT_EQ(missing_in_order(lines, wanted), "");
    }
}

TEST(EdidImages, OddImagesFromTheFolder) {
    const std::string dir = T27_EDID_TEST_DATA;
    EdidLoad load;
    EdidBuffer buf = load_checked(dir + "/bad-count.bin", load);
    ASSERT_TRUE(load.ok());
    EXPECT_EQ(check_message_labels(buf).msg2, "Block No.");
    EXPECT_EQ(edid_report_text(buf), ">>>>> ! Block0 has bad size.\r\n");

    buf = load_checked(dir + "/bad-header.bin", load);
    EXPECT_EQ(edid_tree_nodes(buf).size(), 1u);
    const auto header_lines = lines_of(edid_report_text(buf));
    EXPECT_EQ(header_lines.at(1), "Total 1 blocks");
    EXPECT_EQ(header_lines.at(4), " 00 FF FF FF FF FF FF 01 //7");

    buf = load_checked(dir + "/one-block-ff.bin", load);
    const auto nodes = edid_tree_nodes(buf);
    ASSERT_EQ(nodes.size(), 13u);
    EXPECT_EQ(nodes[2].caption, "Block 1 : Manufacturer Def.");

    buf = load_checked(dir + "/dump-128.ddc", load);
    const auto lines = lines_of(load.text);
    ASSERT_EQ(lines.size(), 33u);
    EXPECT_EQ(lines[32], "FF FF FF FF FF FF FF FF //FF");

    buf = load_checked(dir + "/badsum-block1.bin", load);
    const auto labels = checksum_labels_show(buf);
    EXPECT_FALSE(labels[0].recover_visible);
    EXPECT_TRUE(labels[1].recover_visible);
    EXPECT_EQ(labels[1].caption.substr(labels[1].caption.size() - 6), " Error");
}

// ---- Real images, from the shared folder when it is there -----------------

struct SampleRow {
    std::string file;
    int bytes;
    std::string id;  // manufacturer letters and product code in hex, as in "SAM0590"
};

std::vector<SampleRow> sample_rows(const std::string& dir) {
    std::vector<SampleRow> rows;
    std::ifstream in(dir + "/README.md");
    const std::regex row(R"(^\| (\S+\.bin) \| (\d+) \| [^/|]+/[^/|]+/([A-Z]{3}[0-9A-F]{4})/)");
    std::string line;
    std::smatch m;
    while (std::getline(in, line)) {
        if (std::regex_search(line, m, row)) rows.push_back({m[1], std::stoi(m[2]), m[3]});
    }
    return rows;
}

// What each real image is, read off its bytes: byte 20 bit 7, byte 126, the
// block checksums and the OUI of the CEA block's first vendor block. The
// 512-byte files with an extension count of 1 are dumps padded past the
// EDID, which the check calls a block count error.
const std::pair<const char*, const char*> sample_kinds[] = {
    {"analog-00.bin", "ANALOG"},
    {"analog-01.bin", "ANALOG"},
    {"analog-02.bin", "ANALOG"},
    {"analog-03.bin", "ANALOG"},
    {"dvi-04.bin", "DVI"},
    {"dvi-05.bin", "DVI"},
    {"dvi-06.bin", "DVI"},
    {"dvi-07.bin", "DVI"},
    {"hdmi-08.bin", "HDMI"},
    {"hdmi-09.bin", "HDMI"},
    {"hdmi-10.bin", "HDMI"},
    {"hdmi-11.bin", "HDMI"},
    {"hdmi-12.bin", "Block No."},
    {"hdmi-13.bin", "HDMI"},
    {"hdmi-14.bin", "Block No."},
    {"hdmi-15.bin", "HDMI"},
    {"hf-16.bin", "HDMI"},
    {"hf-17.bin", "HDMI"},
    {"hf-18.bin", "HDMI"},
    {"hf-19.bin", "HDMI"},
    {"hf-20.bin", "HDMI"},
    {"hf-21.bin", "HDMI"},
    {"hf-22.bin", "HDMI"},
    {"hf-23.bin", "HDMI"},
    {"hdr-24.bin", "DVI"},
    {"hdr-25.bin", "HDMI"},
    {"hdr-26.bin", "HDMI"},
    {"hdr-27.bin", "HDMI"},
    {"multiblock-28.bin", "Block No."},
    {"multiblock-29.bin", "Block No."},
    {"multiblock-30.bin", "Block No."},
    {"multiblock-31.bin", "DVI"},
    {"multiblock-32.bin", "Block No."},
    {"multiblock-33.bin", "Block No."},
    {"badsum-34.bin", "Checksum"},
    {"badsum-35.bin", "Checksum"},
    {"badsum-36.bin", "Checksum"},
    {"badsum-37.bin", "Checksum"},
};

TEST(EdidSamples, RealImagesDecodeWithoutSurprises) {
    const std::string dir = T27_EDID_SAMPLES;
    if (!fs::is_directory(dir)) GTEST_SKIP() << "no shared EDID samples at " << dir;
    const auto rows = sample_rows(dir);
    ASSERT_EQ(rows.size(), std::size(sample_kinds));
    for (const SampleRow& r : rows) {
        SCOPED_TRACE(r.file);
        EdidLoad load;
        const EdidBuffer buf = load_checked(dir + "/" + r.file, load);
        ASSERT_TRUE(load.ok());
        EXPECT_EQ(load.buffer.size, r.bytes);

        const std::string report = edid_report_text(buf);
        const auto lines = lines_of(report);
        const auto kind = std::find_if(std::begin(sample_kinds), std::end(sample_kinds),
                                       [&](const auto& k) { return r.file == k.first; });
        ASSERT_NE(kind, std::end(sample_kinds));
        const std::string expected = kind->second;
        if (expected == "Block No.") {
            EXPECT_EQ(check_message_labels(buf).msg2, expected);
            EXPECT_EQ(report, ">>>>> ! Block0 has bad size.\r\n");
            continue;
        }
        if (expected == "Checksum") {
            EXPECT_EQ(check_message_labels(buf).msg2, expected);
            EXPECT_NE(std::find_if(lines.begin(), lines.end(),
                                   [](const std::string& l) {
                                       return l.rfind(">>>>> ! Bad Checksum, should be ", 0) == 0;
                                   }),
                      lines.end());
        } else {
            EXPECT_EQ(type_labels_show(buf).type.value_or("").substr(0, expected.size()), expected);
        }
        EXPECT_EQ(buf.block_count, r.bytes / 128);

        // The manufacturer and product code are the database's name for the display.
        char product[16];
        std::snprintf(product, sizeof product, "%d (%s h)", std::stoi(r.id.substr(3), nullptr, 16),
                      r.id.substr(3).c_str());
        EXPECT_EQ(missing_in_order(lines, {" Manufacturer Name = " + r.id.substr(0, 3),
                                           std::string(" Product Code = ") + product}),
                  "");

        // Every dump line shows the file's bytes.
        for (int b = 0; b < buf.block_count; ++b) {
            for (int l = 0; l < 16; ++l) {
                std::string want = " ";
                for (int k = 0; k < 8; ++k) {
                    char pair[4];
                    std::snprintf(pair, sizeof pair, "%02X ",
                                  load.buffer.data[static_cast<std::size_t>(128 * b + 8 * l + k)]);
                    want += pair;
                }
                char index[16];
                std::snprintf(index, sizeof index, "//%X", 128 * b + 8 * l + 7);
                EXPECT_NE(std::find(lines.begin(), lines.end(), want + index), lines.end())
                    << want + index;
            }
        }
        // A CEA extension in block 1 gets its section.
        if (buf.block_count > 1 && load.buffer.data[128] == 0x02) {
            EXPECT_NE(report.find("\r\n ----- Others:\r\n"), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace t27
