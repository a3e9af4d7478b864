#include <gtest/gtest.h>

#include <map>

#include "generator/downscale.h"
#include "generator/panel_buttons.h"
#include "generator/panel_groups.h"

namespace t27 {
namespace {

constexpr Colour grey = 12632256, green = 49152, red = 3158271;

// Final colour per button after an update (later paints win).
std::map<int, Colour> colours(const PanelUpdate& u) {
    std::map<int, Colour> out;
    for (const ButtonPaint& p : u.paints) out[p.index] = p.colour;
    return out;
}

std::map<int, bool> enables(const PanelUpdate& u) {
    std::map<int, bool> out;
    for (const ButtonEnable& e : u.enables) out[e.index] = e.enabled;
    return out;
}

TEST(PanelCommands, TableJoinsCommandAndValue) {
    const auto& c = panel_commands();
    ASSERT_EQ(c.size(), 62u);
    const std::map<int, std::string> expected = {
        {0, "$factory"},
        {1, "$boot go"},
        {2, "$hdcp_in_sw off"},
        {3, "$hdcp_in_ver v1.4"},
        {4, "$hdcp_in_ver v1.4+v2.2"},
        {5, "$rx_hotplug toggle"},
        {7, "$rx_sense on"},
        {8, "$rx_ddc off"},
        {11, "$rx_scdc on"},
        {12, "$audio_source int"},
        {14, "$audio_source ana"},
        {16, "$audio_ch 6"},
        {19, "$audio_mute on"},
        {21, "$hdr_sw on"},
        {24, "$hdr_set 3"},
        {27, "$hdr_eotf 2084"},
        {28, "$hdr_tx_col 1"},
        {37, "$hdr_tx_col 10"},
        {38, "$hdcp_out_sw off"},
        {40, "$hdcp_out_ver v2.2"},
        {43, "$color_space y422"},
        {46, "$deep_color 10"},
        {48, "$tx_5v follow"},
        {49, "$tx_5v on"},
        {52, "$tmds_sw off"},
        {55, "$tmds_format dvi"},
        {56, "$rx_hotplug off"},
        {57, "$rx_hotplug on"},
        {60, "$audio_sr 192"},
    };
    for (const auto& [i, text] : expected) EXPECT_EQ(c[static_cast<std::size_t>(i)], text) << i;
    for (int i : {50, 51, 61}) EXPECT_EQ(c[static_cast<std::size_t>(i)], "") << i;
    for (int i = 0; i < 62; ++i)
        if (i != 50 && i != 51 && i != 61) {
            EXPECT_FALSE(c[static_cast<std::size_t>(i)].empty()) << i;
        }
}

TEST(PanelCommands, VersionButtonsSwitchOnFirst) {
    EXPECT_EQ(panel_pre_request(3), "$hdcp_in_sw on");
    EXPECT_EQ(panel_pre_request(4), "$hdcp_in_sw on");
    EXPECT_EQ(panel_pre_request(39), "$hdcp_out_sw on");
    EXPECT_EQ(panel_pre_request(40), "$hdcp_out_sw on");
    for (int i : {0, 2, 5, 38, 41, 61, -1, 62}) EXPECT_EQ(panel_pre_request(i), "") << i;

    PanelFlags f;
    panel_pre_step_flags(4, f);
    EXPECT_TRUE(f.hdcp_in_on);
    panel_pre_step_flags(39, f);
    EXPECT_EQ(f.hdcp_out_state, 1);
    panel_pre_step_flags(40, f);
    EXPECT_EQ(f.hdcp_out_state, 3);
}

TEST(PanelCommands, EveryButtonSitsInExactlyOneRow) {
    std::map<int, int> seen;
    for (const PanelRow& r : panel_rows())
        for (int i : r.buttons) ++seen[i];
    for (int i = 0; i <= 60; ++i) EXPECT_EQ(seen[i], 1) << i;
    EXPECT_EQ(seen.count(61), 0u);
}

TEST(PanelGroups, QueriesKeepTheirTrailingBlanks) {
    const char* expected[21] = {
        "$hdcp_in_sw?",   "$hdcp_in_ver?",   "$rx_ddc?",     "$rx_hotplug?",  "$rx_scdc?",
        "$rx_sense?",     "$audio_source? ", "$audio_ch? ",  "$audio_mute? ", "$audio_sr? ",
        "$hdr_sw?",       "$hdr_set?",       "$hdr_eotf? ",  "$hdr_tx_col? ", "$hdcp_out_sw?",
        "$hdcp_out_ver?", "$color_space?",   "$deep_color?", "$tx_5v?",       "$tmds_sw?",
        "$tmds_format?",
    };
    for (int g = 0; g < 21; ++g) EXPECT_EQ(panel_group_query(g), expected[g]) << g;
    EXPECT_EQ(panel_group_query(21), "");
}

TEST(PanelGroups, InputHdcpSwitchGatesTheVersionGroup) {
    PanelFlags f;
    PanelUpdate off = panel_show_group(0, "off", f);
    EXPECT_FALSE(f.hdcp_in_on);
    EXPECT_EQ(colours(off), (std::map<int, Colour>{{2, green}, {3, grey}, {4, grey}}));

    // Switched off: the version means nothing, so nothing is lit and 2 is left alone.
    PanelUpdate v_off = panel_show_group(1, "v1.4", f);
    EXPECT_EQ(colours(v_off), (std::map<int, Colour>{{3, grey}, {4, grey}}));

    PanelUpdate on = panel_show_group(0, "on", f);
    EXPECT_TRUE(f.hdcp_in_on);
    EXPECT_EQ(colours(on), (std::map<int, Colour>{{2, grey}, {3, grey}, {4, grey}}));
    PanelUpdate both = panel_show_group(1, "v1.4+v2.2", f);
    EXPECT_EQ(colours(both), (std::map<int, Colour>{{2, grey}, {3, grey}, {4, green}}));
}

TEST(PanelGroups, OutputHdcpTalkStatesShowRed) {
    PanelFlags f;
    panel_show_group(14, "v2.2_talk", f);
    EXPECT_EQ(f.hdcp_out_state, 4);
    EXPECT_EQ(colours(panel_show_group(15, "v2.2", f)),
              (std::map<int, Colour>{{38, grey}, {39, grey}, {40, red}}));

    panel_show_group(14, "v1.4_on", f);
    EXPECT_EQ(f.hdcp_out_state, 1);
    EXPECT_EQ(colours(panel_show_group(15, "v1.4", f))[39], green);
    // A version that does not match the switch state lights nothing.
    EXPECT_EQ(colours(panel_show_group(15, "v2.2", f))[40], grey);

    panel_show_group(14, "v1.4_talk", f);
    EXPECT_EQ(colours(panel_show_group(15, "v1.4", f))[39], red);
    panel_show_group(14, "v2.2_on", f);
    EXPECT_EQ(colours(panel_show_group(15, "v2.2", f))[40], green);

    const PanelUpdate off = panel_show_group(14, "off", f);
    EXPECT_EQ(f.hdcp_out_state, 0);
    EXPECT_EQ(colours(off), (std::map<int, Colour>{{38, green}, {39, grey}, {40, grey}}));
    EXPECT_EQ(colours(panel_show_group(15, "v1.4", f)),
              (std::map<int, Colour>{{39, grey}, {40, grey}}));
}

TEST(PanelGroups, AudioSourceEnablesWhatItCarries) {
    PanelFlags f;
    const PanelUpdate hdmi = panel_show_group(6, "hdmi", f);
    EXPECT_EQ(colours(hdmi)[13], green);
    EXPECT_EQ(enables(hdmi),
              (std::map<int, bool>{
                  {15, false}, {16, false}, {17, false}, {58, false}, {59, false}, {60, false}}));
    const PanelUpdate ana = panel_show_group(6, "ana", f);
    EXPECT_EQ(colours(ana)[14], green);
    EXPECT_EQ(enables(ana),
              (std::map<int, bool>{
                  {15, false}, {16, false}, {17, false}, {58, true}, {59, true}, {60, true}}));
    const PanelUpdate sine = panel_show_group(6, "int", f);
    EXPECT_EQ(colours(sine)[12], green);
    EXPECT_EQ(enables(sine),
              (std::map<int, bool>{
                  {15, true}, {16, true}, {17, true}, {58, true}, {59, true}, {60, true}}));
    EXPECT_TRUE(enables(panel_show_group(6, "spdif", f)).empty());
}

TEST(PanelGroups, ValuesLightTheirButtons) {
    PanelFlags f;
    struct Case {
        int group;
        const char* value;
        int lit;
    };
    const Case cases[] = {
        {2, "on", 9},     {2, "off", 8},  {3, "toggle", 57},  {3, "on", 57},  {3, "off", 56},
        {4, "on", 11},    {5, "off", 6},  {7, "8", 17},       {8, "on", 19},  {9, "96", 59},
        {10, "on", 21},   {11, "2", 23},  {12, "2084", 27},   {13, "1", 28},  {13, "10", 37},
        {16, "y420", 44}, {17, "12", 47}, {18, "follow", 48}, {19, "on", 53}, {20, "dvi", 55},
    };
    for (const Case& c : cases) {
        const std::map<int, Colour> got = colours(panel_show_group(c.group, c.value, f));
        EXPECT_EQ(got.at(c.lit), green) << c.group << " " << c.value;
        for (const auto& [i, colour] : got)
            if (i != c.lit) {
                EXPECT_EQ(colour, grey) << c.group << " " << c.value << " " << i;
            }
    }
}

TEST(PanelGroups, UnlistedValuesLeaveTheGroupGrey) {
    PanelFlags f;
    for (const char* v : {"0", "11", "x", "", "None", "err_cmd"}) {
        const std::map<int, Colour> got = colours(panel_show_group(13, v, f));
        EXPECT_EQ(got.size(), 10u) << v;
        for (const auto& [i, colour] : got) EXPECT_EQ(colour, grey) << v << " " << i;
    }
    EXPECT_TRUE(panel_show_group(21, "on", f).paints.empty());
    EXPECT_TRUE(panel_show_group(-1, "on", f).paints.empty());
}

TEST(PanelGroups, RereadsFollowTheButtonsThatMoveOthers) {
    for (int i : {22, 23, 24})
        EXPECT_EQ(std::vector<int>(panel_reread_groups(i).begin(), panel_reread_groups(i).end()),
                  (std::vector<int>{12, 13}))
            << i;
    for (int i : {41, 44, 45, 47, 54, 55})
        EXPECT_EQ(std::vector<int>(panel_reread_groups(i).begin(), panel_reread_groups(i).end()),
                  (std::vector<int>{16, 17, 20}))
            << i;
    for (int i : {0, 20, 25, 48, 52}) EXPECT_TRUE(panel_reread_groups(i).empty()) << i;
}

TEST(PanelGroups, ReadBackStopsOnlyAtSilence) {
    EXPECT_TRUE(panel_read_continues(ReplyStatus::Accepted));
    EXPECT_TRUE(panel_read_continues(ReplyStatus::ErrorReply));
    EXPECT_FALSE(panel_read_continues(ReplyStatus::NoResponse));
    EXPECT_FALSE(panel_read_continues(ReplyStatus::NotSent));
}

std::map<int, bool> visibility(int task, int family) {
    std::map<int, bool> out;
    for (const ButtonVisible& v : panel_visibility(task, family)) out[v.index] = v.visible;
    return out;
}

TEST(PanelVisibility, AnalyserShowsTheInputPort) {
    const std::map<int, bool> v4l = visibility(0, 1);
    for (int i : {2, 5, 11, 56, 57}) EXPECT_TRUE(v4l.at(i)) << i;
    for (int i : {12, 17, 20, 30, 40, 41, 47, 48, 49, 54, 55, 58, 60}) EXPECT_FALSE(v4l.at(i)) << i;
    const std::map<int, bool> v5 = visibility(0, 2);
    for (int i : {41, 44, 47, 54, 55}) EXPECT_TRUE(v5.at(i)) << i;
    EXPECT_FALSE(v5.at(12));
    for (int i : {0, 1, 18, 19, 52, 53, 50, 51})
        EXPECT_EQ(v5.count(i), 0u) << i;  // these keep their layout visibility
}

TEST(PanelVisibility, GeneratorShowsTheOutput) {
    const std::map<int, bool> v4l = visibility(1, 1);
    for (int i : {2, 11, 56, 57, 12, 14, 22, 24, 43, 47}) EXPECT_FALSE(v4l.at(i)) << i;
    for (int i : {15, 17, 20, 21, 25, 37, 40, 41, 42, 48, 54, 55, 58, 60})
        EXPECT_TRUE(v4l.at(i)) << i;
    const std::map<int, bool> v4 = visibility(1, 0);
    for (int i : {12, 14, 22, 24, 41, 47, 54}) EXPECT_TRUE(v4.at(i)) << i;
    // Cable mode and a task mode not read yet lay the panel out as pattern mode.
    EXPECT_EQ(visibility(2, 1), v4l);
    EXPECT_EQ(visibility(254, 0), v4);
}

TEST(Downscale, OptionsRequestsAndReplies) {
    EXPECT_EQ(downscale_request(0), "$4k_to_1080p off");
    EXPECT_EQ(downscale_request(1), "$4k_to_1080p on_rgb");
    EXPECT_EQ(downscale_request(2), "$4k_to_1080p on_yuv");
    EXPECT_EQ(downscale_request(3), "");
    EXPECT_EQ(downscale_option_for("on_yuv"), 2);
    EXPECT_EQ(downscale_option_for("off"), 0);
    EXPECT_EQ(downscale_option_for("on"), -1);
    EXPECT_STREQ(downscale_options[2].caption, "Enabled , YCbCr Output");
    EXPECT_TRUE(downscale_serves_tab(1, 0));
    EXPECT_FALSE(downscale_serves_tab(1, 1));
    EXPECT_FALSE(downscale_serves_tab(2, 0));
    EXPECT_FALSE(downscale_serves_tab(254, 0));
}

}  // namespace
}  // namespace t27
