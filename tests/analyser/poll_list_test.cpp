#include "analyser/poll_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/command_table.h"

namespace t27 {
namespace {

constexpr int analyser = 0;
constexpr int pattern = 1;
constexpr int cable = 2;
constexpr int unknown_mode = 254;

// The list as the request texts it sends.
std::vector<std::string> texts(const std::vector<int>& list) {
    std::vector<std::string> out;
    for (int i : list) out.push_back(command_text(i));
    return out;
}

std::vector<std::string> sd(std::initializer_list<const char*> items) {
    std::vector<std::string> out;
    for (const char* i : items) out.push_back(std::string("$source_detect? ") + i);
    return out;
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(PollList, SystemViewInAnalyserMode) {
    const std::vector<std::string> expected =
        sd({"5v", "ckdt", "scdt", "timingx", "tmds_format", "avi", "gcp", "asp", "hbr", "aif",
            "hdcp", "chs_code", "drmi", "vsi"}) +
        std::vector<std::string>{"$rx_hotplug?",
                                 "$rx_sense?",
                                 "$color_space?",
                                 "$deep_color?",
                                 "$edid_manuf? rx",
                                 "$edid_model? rx",
                                 "$edid_native? rx",
                                 "$edid_type? rx",
                                 "$hdcp_in_sw?",
                                 "$hdcp_in_ver?",
                                 "$hdcp_out_sw?",
                                 "$hdcp_out_ver?",
                                 "$timingx?",
                                 "$tmds_format?",
                                 "$tmds_sw?",
                                 "$rx_scdc?",
                                 "$sink_detect? hotplug",
                                 "$sink_detect? rsense",
                                 "$edid_manuf? sink_h",
                                 "$edid_model? sink_h",
                                 "$edid_native? sink_h",
                                 "$edid_type? sink_h",
                                 "$sink_detect? hdcp",
                                 "$sink_detect? scdc"};
    EXPECT_EQ(texts(poll_list_for(0, analyser)), expected);
    EXPECT_EQ(expected.size(), 38u);
}

TEST(PollList, SystemViewInPatternModeUsesTheQueryEntriesWithTheirBlanks) {
    const std::vector<std::string> expected = {"$timingx?",
                                               "$pattern? ",
                                               "$color_space?",
                                               "$deep_color?",
                                               "$audio_mute? ",
                                               "$audio_source? ",
                                               "$audio_ch? ",
                                               "$hdcp_out_sw?",
                                               "$hdcp_out_ver?",
                                               "$hdr_sw?",
                                               "$tmds_format?",
                                               "$tmds_sw?",
                                               "$sink_detect? hotplug",
                                               "$sink_detect? rsense",
                                               "$edid_manuf? sink_h",
                                               "$edid_model? sink_h",
                                               "$edid_native? sink_h",
                                               "$edid_type? sink_h",
                                               "$sink_detect? hdcp",
                                               "$sink_detect? scdc"};
    EXPECT_EQ(texts(poll_list_for(0, pattern)), expected);
}

TEST(PollList, TimingAudioAndPacketViews) {
    EXPECT_EQ(
        texts(poll_list_for(1, analyser)),
        sd({"timingx", "tmds_clock", "pixel_clock", "data_rate", "ht", "ha", "hbp", "hsw", "hfp",
            "hsp", "vt", "va", "vbp", "vsw", "vfp", "vsp", "hvs_offset1", "hvs_offset2", "scan"}));
    EXPECT_EQ(texts(poll_list_for(2, analyser)),
              sd({"acr", "acr_n", "acr_cts", "aif", "hbr", "asp", "asp_pll", "asp_fifo",
                  "asp_layout", "asp_ch", "chs_type", "chs_code", "chs_sr", "chs_ss"}));
    EXPECT_EQ(texts(poll_list_for(3, analyser)), sd({"gcp", "avi", "aif", "spd", "vsi", "drmi"}));
}

TEST(PollList, HdcpViewPerTaskMode) {
    const std::vector<std::string> analyser_list =
        sd({"hdcp", "hdcp_aksv"}) + std::vector<std::string>{"$hdcp_in_sw?", "$hdcp_in_ver?"} +
        sd({"hdcp_bksv", "hdcp_rxid", "scdc_source_ver", "scdc_scr_enable"}) +
        std::vector<std::string>{"$rx_scdc?"} + sd({"scdc_sink_ver", "scdc_scr_status"});
    EXPECT_EQ(texts(poll_list_for(4, analyser)), analyser_list);
    std::vector<std::string> pattern_list = {"$hdcp_out_sw?", "$hdcp_out_ver?"};
    for (const char* item : {"hdcp_aksv", "hdcp", "hdcp_bksv", "hdcp_rxid", "scdc_source_ver",
                             "scdc_scr_enable", "scdc", "scdc_sink_ver", "scdc_scr_status"}) {
        pattern_list.push_back(std::string("$sink_detect? ") + item);
    }
    EXPECT_EQ(texts(poll_list_for(4, pattern)), pattern_list);
}

TEST(PollList, ViewsWithoutAListSendNothing) {
    for (int view : {1, 2, 3}) {
        EXPECT_TRUE(poll_list_for(view, pattern).empty()) << view;
        EXPECT_TRUE(poll_list_for(view, cable).empty()) << view;
    }
    for (int view = 0; view < 5; ++view) {
        EXPECT_TRUE(poll_list_for(view, cable).empty()) << view;
        EXPECT_TRUE(poll_list_for(view, unknown_mode).empty()) << view;
    }
    EXPECT_TRUE(poll_list_for(5, analyser).empty());
    EXPECT_TRUE(poll_list_for(-1, analyser).empty());
}

TEST(PollList, BuildingResetsOnlyTheFlagsItsListOwns) {
    auto all_on = [] {
        AnalyserState s;
        s.AspActive = s.HdcpInOn = s.HdcpOutOn = s.HdcpOutPass = s.AudioMuted = true;
        s.PixelClockHz = 148500000;
        return s;
    };

    AnalyserState s = all_on();
    EXPECT_EQ(build_poll_list(0, analyser, s), poll_list_for(0, analyser));
    EXPECT_FALSE(s.AspActive);
    EXPECT_FALSE(s.HdcpInOn);
    EXPECT_TRUE(s.HdcpOutOn);
    EXPECT_EQ(s.PixelClockHz, 148500000);

    s = all_on();
    build_poll_list(4, analyser, s);
    EXPECT_TRUE(s.AspActive);
    EXPECT_FALSE(s.HdcpInOn);
    EXPECT_TRUE(s.HdcpOutOn);

    s = all_on();
    build_poll_list(4, pattern, s);
    EXPECT_TRUE(s.HdcpInOn);
    EXPECT_FALSE(s.HdcpOutOn);
    EXPECT_TRUE(s.HdcpOutPass);

    s = all_on();
    build_poll_list(0, pattern, s);
    build_poll_list(1, analyser, s);
    build_poll_list(0, cable, s);
    EXPECT_TRUE(s.AspActive);
    EXPECT_TRUE(s.HdcpInOn);
    EXPECT_TRUE(s.HdcpOutOn);
}

}  // namespace
}  // namespace t27
