#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "protocol/command_table.h"
#include "sim/status_items.h"
#include "sim/unit_model.h"

namespace t27::sim {
namespace {

std::string ask(UnitModel& m, const std::string& line) { return m.handle_line(line).bytes(); }

std::vector<int> hex_bytes(const std::string& text) {
    std::istringstream in(text);
    std::vector<int> out;
    std::string tok;
    while (in >> tok) out.push_back(std::stoi(tok, nullptr, 16));
    return out;
}

// Every source and sink query of the command table is answered with the item
// name as first parameter and a value as second.
TEST(StatusItems, EveryPolledItemIsAnsweredItemFirst) {
    UnitModel m;
    int n = 0;
    for (const std::string& entry : command_table()) {
        if (entry.rfind("$source_detect? ", 0) != 0 && entry.rfind("$sink_detect? ", 0) != 0)
            continue;
        ++n;
        std::string item = entry.substr(entry.find(' ') + 1);
        std::string r = ask(m, entry);
        ASSERT_EQ(r.substr(0, entry.size() + 1), entry + ",") << entry;
        EXPECT_GT(r.size(), entry.size() + 3) << entry;
        EXPECT_EQ(r.substr(r.size() - 2), "\r\n");
    }
    EXPECT_EQ(n, 61);
    EXPECT_EQ(ask(m, "$source_detect? nosuch"), "$source_detect? err_item\r\n");
}

TEST(StatusItems, InfoFramesCarryValidChecksumsAndTheSignalTheyDescribe) {
    UnitModel m;
    for (const char* kind : {"avi", "aif", "spd"}) {
        std::string value = m.state().source_items.at(kind);
        std::vector<int> b = hex_bytes(value);
        ASSERT_GE(b.size(), 4u) << kind;
        EXPECT_EQ(static_cast<int>(b.size()), 4 + b[2]) << kind << ": length byte";
        int sum = 0;
        for (int v : b) sum += v;
        EXPECT_EQ(sum % 256, 0) << kind;
    }
    std::vector<int> avi = hex_bytes(m.state().source_items.at("avi"));
    EXPECT_EQ(avi[0], 0x82);
    EXPECT_EQ(avi[4] >> 5, 0);  // RGB
    EXPECT_EQ(avi[7], 16);      // 1080p60
    std::vector<int> aif = hex_bytes(m.state().source_items.at("aif"));
    EXPECT_EQ(aif[0], 0x84);
    EXPECT_EQ((aif[4] & 7) + 1, 2);  // two channels
    // The timing items agree with each other: 148.5 MHz over 2200 × 1125.
    EXPECT_EQ(std::stol(m.state().source_items.at("pixel_clock")) * 1000,
              std::stol(m.state().source_items.at("ht")) *
                  std::stol(m.state().source_items.at("vt")) * 60);
}

// Whatever the scenario, the items cannot contradict each other: no power
// means nothing else, DVI carries no data islands, InfoFrames add up, and the
// audio clock regeneration gives back the rate the channel status names.
TEST(StatusItems, EveryScenarioIsSelfConsistent) {
    for (const Scenario& sc : scenarios()) {
        SCOPED_TRACE(std::string(sc.name));
        UnitModel m;
        apply_scenario(m.state(), sc);
        const auto& items = m.state().source_items;
        auto item = [&](const char* name) { return items.at(name); };
        const bool power = item("5v") == "on";
        const bool dvi = item("tmds_format") == "dvi";
        for (const char* kind : {"avi", "aif", "spd", "vsi", "drmi", "gcp"}) {
            if (item(kind) == "off") continue;
            EXPECT_TRUE(power && !dvi) << kind;
            if (std::string(kind) == "gcp") continue;
            const std::vector<int> b = hex_bytes(item(kind));
            ASSERT_GE(b.size(), 4u) << kind;
            EXPECT_EQ(static_cast<int>(b.size()), 4 + b[2]) << kind << ": length byte";
            int sum = 0;
            for (int v : b) sum += v;
            EXPECT_EQ(sum % 256, 0) << kind;
        }
        if (!power) {
            for (const char* off : {"ckdt", "scdt", "asp", "hbr", "acr", "hdcp"})
                EXPECT_EQ(item(off), "off") << off;
            EXPECT_EQ(item("pixel_clock"), "0");
        }
        if (dvi || !power) {
            EXPECT_EQ(item("aif"), "off");
        }
        // HDMI audio is L-PCM or IEC 61937: coding type, sample rate and size
        // are left to the stream header.
        if (item("aif") != "off") {
            const std::vector<int> b = hex_bytes(item("aif"));
            EXPECT_EQ(b[4] >> 4, 0) << "coding type";
            EXPECT_EQ(b[5] & 0x1F, 0) << "sample rate and size";
        }
        // The GCP's depth is what sets the TMDS clock; 4:2:2 is never packed.
        if (item("gcp") != "off") {
            const int cd = hex_bytes(item("gcp"))[4] & 0x0F;
            const int y = hex_bytes(item("avi"))[4] >> 5;
            const int bits = cd == 5 ? 10 : cd == 6 ? 12 : cd == 7 ? 16 : 8;
            if (y == 1) EXPECT_EQ(cd, 0) << "4:2:2 indicates no depth";
            EXPECT_EQ(std::stoll(item("tmds_clock")),
                      std::stoll(item("pixel_clock")) * (y == 1 ? 8 : bits) / (y == 3 ? 16 : 8));
        }
        if (item("asp") == "on" || item("hbr") == "on") {
            EXPECT_EQ(item("acr"), "on");
        }
        if (item("acr") == "off") continue;
        EXPECT_TRUE(power && !dvi);
        const double fs = std::stod(item("tmds_clock")) * 1000 * std::stod(item("acr_n")) /
                          (128 * std::stod(item("acr_cts")));
        const double named = std::stod(item("chs_sr")) * 1000 / (item("hbr") == "on" ? 4 : 1);
        EXPECT_NEAR(fs, named, 1.0);
    }
}

TEST(StatusItems, InfoFrameHexMatchesTheByteLayout) {
    // Header 0x81 0x01 0x02, payload 0x10 0x20: checksum 0x100 - 0xB4 = 0x4C.
    EXPECT_EQ(infoframe_hex(0x81, 1, {0x10, 0x20}), "81 01 02 4C 10 20");
}

TEST(StatusItems, SinkItemsFollowTheAttachedSink) {
    UnitModel m;
    EXPECT_EQ(ask(m, "$sink_detect? hotplug"), "$sink_detect? hotplug,on\r\n");
    m.attach_sink("none");
    EXPECT_EQ(ask(m, "$sink_detect? hotplug"), "$sink_detect? hotplug,off\r\n");
    EXPECT_EQ(ask(m, "$sink_detect? rsense"), "$sink_detect? rsense,off\r\n");
    EXPECT_TRUE(m.attach_sink("d1"));
    EXPECT_EQ(ask(m, "$sink_detect? hotplug"), "$sink_detect? hotplug,on\r\n");
    EXPECT_FALSE(m.attach_sink("c1"));
}

TEST(StatusItems, OutputTimingFollowsTheInputOnlyWhileAnalysing) {
    UnitModel m;
    m.state().source_items["timingx"] = "1280x720p50";
    EXPECT_EQ(ask(m, "$timingx?"), "$timingx? 1280x720p50\r\n");
    ask(m, "$task_mode pattern");
    EXPECT_EQ(ask(m, "$timingx?"), "$timingx? " + m.state().output_timing_text + "\r\n");
}

TEST(StatusItems, OutputHdcpReportsVersionAndAuthentication) {
    UnitModel m;
    EXPECT_EQ(ask(m, "$hdcp_out_sw?"), "$hdcp_out_sw? off\r\n");
    EXPECT_EQ(ask(m, "$hdcp_out_ver v2.2"), "$hdcp_out_ver v2.2\r\n");
    EXPECT_EQ(ask(m, "$hdcp_out_sw on"), "$hdcp_out_sw v2.2_on\r\n");
    EXPECT_EQ(ask(m, "$hdcp_out_sw?"), "$hdcp_out_sw? v2.2_on\r\n");
    m.attach_sink("none");
    EXPECT_EQ(ask(m, "$hdcp_out_sw?"), "$hdcp_out_sw? v2.2_talk\r\n");
    EXPECT_EQ(ask(m, "$hdcp_out_sw off"), "$hdcp_out_sw off\r\n");
    EXPECT_EQ(ask(m, "$hdcp_out_sw v2.2_on"), "$hdcp_out_sw err_param\r\n");
}

}  // namespace
}  // namespace t27::sim
