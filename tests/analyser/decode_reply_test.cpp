#include "analyser/decode_reply.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "analyser/commands.h"

namespace t27 {
namespace {

using namespace cmd;

constexpr Colour black = 0;
constexpr Colour grey = 144 | (144 << 8) | (144 << 16);
constexpr Colour fail_red = 255 | (48 << 8) | (48 << 16);

// Stands in for the Monitor tab: applies every update to a map of captions
// and colours and answers caption look-ups from it.
class Screen {
  public:
    Screen(int view, int task_mode) {
        context.view = view;
        context.task_mode = task_mode;
        context.caption = [this](const std::string& control) { return shown(control); };
    }
    Screen(const Screen&) = delete;

    // A detection reply: the item name in P1, the value in P2.
    const DisplayUpdates& detect(int index, const std::string& value) {
        return apply(index, PollReply{"item", value, "None"});
    }
    // A plain query reply: the value in P1.
    const DisplayUpdates& query(int index, const std::string& value) {
        return apply(index, PollReply{value, "None", "None"});
    }

    std::string shown(const std::string& control) const {
        auto it = text.find(control);
        return it == text.end() ? std::string() : it->second;
    }
    std::string cell(std::string_view array, int n) const { return shown(cell_name(array, n)); }
    Colour colour_of(const std::string& control) const {
        auto it = colours.find(control);
        return it == colours.end() ? 0xFFFFFFFF : it->second;
    }

    DecodeContext context;
    AnalyserState state;
    std::map<std::string, std::string> text;
    std::map<std::string, Colour> colours;
    DisplayUpdates last;

  private:
    const DisplayUpdates& apply(int index, const PollReply& reply) {
        last = decode_reply(index, reply, context, state);
        for (const auto& u : last.texts) text[u.control] = u.text;
        for (const auto& u : last.colours) colours[u.control] = u.colour;
        return last;
    }
};

bool changes_nothing(const DisplayUpdates& u) { return u.texts.empty() && u.colours.empty(); }

TEST(VideoTiming, ZeroTotalsGiveZeroAndQuestionMark) {
    Screen s(1, 0);
    s.detect(sd_pixel_clock, "148500");
    s.detect(sd_ht, "None");
    EXPECT_EQ(s.state.HTotal, 0);
    EXPECT_EQ(s.cell(video_cell, 5), "None");
    s.detect(sd_hsp, "P");
    EXPECT_EQ(s.cell(video_cell, 10), "P");
    EXPECT_EQ(s.cell(video_cell, 4), "0");
    s.detect(sd_vt, "1125");
    s.detect(sd_scan, "p");
    EXPECT_EQ(s.cell(video_cell, 14), "?");
}

TEST(VideoTiming, InterlacedScanDoublesTheVerticalFrequency) {
    Screen s(1, 0);
    s.detect(sd_pixel_clock, "74250");
    EXPECT_EQ(s.cell(video_cell, 2), "74250");
    EXPECT_EQ(s.state.PixelClockHz, 74250000);
    s.detect(sd_ht, "2200");
    s.detect(sd_hsp, "P");
    EXPECT_EQ(s.cell(video_cell, 4), "33750");
    s.detect(sd_vt, "1125");
    EXPECT_EQ(s.cell(video_cell, 15), "1125");
    s.detect(sd_scan, "i");
    EXPECT_EQ(s.state.ScanLetter, "i");
    EXPECT_EQ(s.cell(video_cell, 13), "Interlace");
    EXPECT_EQ(s.cell(video_cell, 14), "60.00");

    // An unknown scan value is shown as sent and keeps the last letter.
    s.detect(sd_scan, "x");
    EXPECT_EQ(s.cell(video_cell, 13), "x");
    EXPECT_EQ(s.state.ScanLetter, "i");
    EXPECT_EQ(s.cell(video_cell, 14), "60.00");
    s.detect(sd_scan, "p");
    EXPECT_EQ(s.cell(video_cell, 13), "Progressive");
    EXPECT_EQ(s.cell(video_cell, 14), "30.00");
}

TEST(VideoTiming, CellsTakeTheValueAsSent) {
    Screen s(1, 0);
    s.detect(sd_data_rate, "5940");
    EXPECT_EQ(s.cell(video_cell, 3), "5.940");
    s.detect(sd_data_rate, "594");
    EXPECT_EQ(s.cell(video_cell, 3), "0.594");
    s.detect(sd_timingx, "1920x1080p60");
    EXPECT_EQ(s.cell(video_cell, 0), "1920x1080p60");
    EXPECT_EQ(s.shown("lab_source_resox"), "");
    const std::pair<int, int> cells[] = {{sd_tmds_clock, 1},   {sd_ha, 6},   {sd_hbp, 7},
                                         {sd_hsw, 8},          {sd_hfp, 9},  {sd_hvs_offset1, 11},
                                         {sd_hvs_offset2, 12}, {sd_va, 16},  {sd_vbp, 17},
                                         {sd_vsw, 18},         {sd_vfp, 19}, {sd_vsp, 20}};
    for (const auto& [index, cell] : cells) {
        s.detect(index, "v" + std::to_string(cell));
        EXPECT_EQ(s.cell(video_cell, cell), "v" + std::to_string(cell)) << index;
    }
}

TEST(VideoTiming, ChangingTheViewKeepsTheMeasuredValues) {
    Screen s(1, 0);
    s.detect(sd_pixel_clock, "148500");
    s.detect(sd_ht, "2200");
    s.detect(sd_vt, "1125");
    s.context.view = 0;
    s.context.view = 1;
    s.detect(sd_scan, "p");
    EXPECT_EQ(s.cell(video_cell, 14), "60.00");
}

TEST(AudioGate, HbrLeavesTheGatedItemsAtNoneUntilAspComesBack) {
    Screen s(2, 0);
    s.detect(sd_asp, "on");
    EXPECT_TRUE(s.state.AspActive);
    EXPECT_EQ(s.cell(audio_cell, 5), "On");
    s.detect(sd_hbr, "on");
    EXPECT_FALSE(s.state.AspActive);
    EXPECT_EQ(s.cell(audio_cell, 1), "On");
    s.detect(sd_asp_pll, "lock");
    s.detect(sd_asp_fifo, "nor");
    s.detect(sd_asp_layout, "0");
    s.detect(sd_asp_ch, "2");
    s.detect(sd_chs_type, "c");
    s.detect(sd_chs_code, "lpcm");
    s.detect(sd_chs_sr, "48");
    s.detect(sd_chs_ss, "24");
    for (int cell = 6; cell <= 13; ++cell) EXPECT_EQ(s.cell(audio_cell, cell), "None") << cell;

    s.detect(sd_hbr, "off");
    EXPECT_EQ(s.cell(audio_cell, 1), "Off");
    EXPECT_FALSE(s.state.AspActive);
    s.detect(sd_asp, "on");
    s.detect(sd_asp_pll, "lock");
    s.detect(sd_asp_fifo, "err");
    s.detect(sd_asp_layout, "1");
    s.detect(sd_asp_ch, "8");
    s.detect(sd_chs_type, "p");
    s.detect(sd_chs_code, "lpcm");
    s.detect(sd_chs_sr, "192");
    s.detect(sd_chs_ss, "24");
    EXPECT_EQ(s.cell(audio_cell, 6), "Locked");
    EXPECT_EQ(s.cell(audio_cell, 7), "Error");
    EXPECT_EQ(s.cell(audio_cell, 8), "1");
    EXPECT_EQ(s.cell(audio_cell, 9), "8");
    EXPECT_EQ(s.cell(audio_cell, 10), "Professional");
    EXPECT_EQ(s.cell(audio_cell, 11), "LPCM");
    EXPECT_EQ(s.cell(audio_cell, 12), "192");
    EXPECT_EQ(s.cell(audio_cell, 13), "24");

    // Words outside the vocabulary leave the cells alone.
    EXPECT_TRUE(changes_nothing(s.detect(sd_asp_pll, "weird")));
    EXPECT_TRUE(changes_nothing(s.detect(sd_asp_fifo, "None")));
    EXPECT_TRUE(changes_nothing(s.detect(sd_chs_type, "x")));
    s.detect(sd_asp, "off");
    EXPECT_EQ(s.cell(audio_cell, 5), "Off");
    s.detect(sd_chs_sr, "48");
    EXPECT_EQ(s.cell(audio_cell, 12), "None");
}

TEST(AudioGate, AcrCellsAndAifIndicator) {
    Screen s(2, 0);
    s.detect(sd_acr, "on");
    s.detect(sd_acr_n, "6144");
    s.detect(sd_acr_cts, "148500");
    EXPECT_EQ(s.cell(audio_cell, 2), "on");
    EXPECT_EQ(s.cell(audio_cell, 3), "6144");
    EXPECT_EQ(s.cell(audio_cell, 4), "148500");
    s.detect(sd_aif, "84 01 0A 70 01 ");
    EXPECT_EQ(s.cell(audio_cell, 0), "On");
    s.detect(sd_aif, "off");
    EXPECT_EQ(s.cell(audio_cell, 0), "Off");
}

TEST(SystemAudio, SourceAudioLabel) {
    Screen s(0, 0);
    s.detect(sd_asp, "on");
    s.detect(sd_hbr, "off");
    s.detect(sd_chs_code, "lpcm");
    EXPECT_EQ(s.shown("lab_source_audiox"), "LPCM");

    // An HBR stream: no sample packets, so neither "asp" nor the ungated
    // channel-status item may wipe the HBR marker within the cycle.
    for (int cycle = 0; cycle < 2; ++cycle) {
        s.detect(sd_asp, "off");
        s.detect(sd_hbr, "on");
        EXPECT_EQ(s.shown("lab_source_audiox"), "HBR");
        s.detect(sd_chs_code, "None");
        EXPECT_EQ(s.shown("lab_source_audiox"), "HBR");
    }
    // Sample packets again: the marker becomes ASP until the coding arrives.
    s.detect(sd_asp, "on");
    EXPECT_EQ(s.shown("lab_source_audiox"), "ASP");
    s.detect(sd_hbr, "off");
    EXPECT_EQ(s.shown("lab_source_audiox"), "ASP");
    s.detect(sd_chs_code, "ac3");
    EXPECT_EQ(s.shown("lab_source_audiox"), "AC3");
    // No audio at all, the rest of the cycle included.
    s.detect(sd_asp, "off");
    EXPECT_EQ(s.shown("lab_source_audiox"), "None");
    s.detect(sd_chs_code, "none");
    EXPECT_EQ(s.shown("lab_source_audiox"), "None");
    // HBR ending without sample packets clears the marker.
    s.detect(sd_hbr, "on");
    s.detect(sd_asp, "off");
    s.detect(sd_hbr, "off");
    EXPECT_EQ(s.shown("lab_source_audiox"), "None");
}

TEST(SystemView, SourceAndSinkLabels) {
    Screen s(0, 0);
    s.detect(sd_5v, "on");
    s.detect(sd_ckdt, "on");
    s.detect(sd_scdt, "off");
    s.detect(sd_timingx, "3840x2160p60");
    s.detect(sd_tmds_format, "hdmi");
    s.detect(sd_hdcp, "2.2");
    s.detect(kd_hotplug, "on");
    s.detect(kd_rsense, "None");
    s.detect(kd_hdcp, "1.4");
    s.detect(kd_scdc, "on");
    s.detect(edid_manuf_sink, "ABC");
    s.detect(edid_model_sink, "1234");
    s.detect(edid_native_sink, "1080p");
    s.detect(edid_type_sink, "hdmi_6g");
    EXPECT_EQ(s.shown("lab_source_5vx"), "on");
    EXPECT_EQ(s.shown("lab_source_clockx"), "on");
    EXPECT_EQ(s.shown("lab_source_syncx"), "off");
    EXPECT_EQ(s.shown("lab_source_resox"), "3840x2160p60");
    EXPECT_EQ(s.shown("lab_source_formatx"), "HDMI");
    EXPECT_EQ(s.shown("lab_source_hdcpx"), "2.2");
    EXPECT_EQ(s.shown("lab_sink_rx_hotplugx"), "on");
    EXPECT_EQ(s.shown("lab_sink_rx_sensex"), "None");
    EXPECT_EQ(s.shown("lab_sink_rx_hdcpx"), "1.4");
    EXPECT_EQ(s.shown("lab_sink_rx_scdcx"), "on");
    EXPECT_EQ(s.shown("lab_sink_rx_edid3x"), "ABC.");
    EXPECT_EQ(s.shown("lab_sink_rx_edid4x"), "1234");
    EXPECT_EQ(s.shown("lab_sink_rx_edid2x"), "1080p");
    EXPECT_EQ(s.shown("lab_sink_rx_edidx"), "hdmi_6g");
    EXPECT_EQ(s.cell(hdcp_cell, 0), "");
    EXPECT_EQ(s.cell(hdcp_cell, 2), "");
}

TEST(SystemView, UnitInputAndOutputLabels) {
    Screen s(0, 0);
    s.query(rx_hotplug_q, "on");
    s.query(rx_sense_q, "off");
    s.query(rx_scdc_q, "on");
    s.detect(edid_manuf_rx, "XYZ");
    s.detect(edid_model_rx, "0001");
    s.detect(edid_native_rx, "2160p");
    s.detect(edid_type_rx, "hdmi_3g");
    s.query(color_space_q, "rgb");
    s.query(deep_color_q, "10");
    s.query(timingx_q, "1920x1080p50");
    s.query(tmds_format_q, "dvi");
    s.query(tmds_sw_q, "on");
    s.query(hdr_sw_q, "off");
    EXPECT_EQ(s.shown("lab_v4_rx_hotplugx"), "on");
    EXPECT_EQ(s.shown("lab_v4_rx_sensex"), "off");
    EXPECT_EQ(s.shown("lab_v4_rx_scdcx"), "on");
    EXPECT_EQ(s.shown("lab_v4_rx_edid3x"), "XYZ.");
    EXPECT_EQ(s.shown("lab_v4_rx_edid4x"), "0001");
    EXPECT_EQ(s.shown("lab_v4_rx_edid2x"), "2160p");
    EXPECT_EQ(s.shown("lab_v4_rx_edidx"), "hdmi_3g");
    EXPECT_EQ(s.shown("lab_v4_tx_cscx"), "rgb");
    EXPECT_EQ(s.shown("lab_v4_tx_dcx"), "10");
    EXPECT_EQ(s.shown("lab_v4_reso_outx"), "1920x1080p50");
    EXPECT_EQ(s.shown("lab_v4_tx_formatx"), "DVI");
    EXPECT_EQ(s.shown("lab_v4_outputx"), "on");
    EXPECT_EQ(s.shown("lab_v4_out_hdrx"), "off");
}

TEST(HdcpReplies, InputSwitchAndVersion) {
    Screen s(0, 0);
    s.query(hdcp_in_sw_q, "off");
    EXPECT_FALSE(s.state.HdcpInOn);
    EXPECT_EQ(s.shown("lab_v4_rx_hdcpx"), "off");
    EXPECT_TRUE(changes_nothing(s.query(hdcp_in_ver_q, "2.2")));
    s.query(hdcp_in_sw_q, "on");
    EXPECT_TRUE(s.state.HdcpInOn);
    EXPECT_EQ(s.shown("lab_v4_rx_hdcpx"), "on");
    s.query(hdcp_in_ver_q, "2.2");
    EXPECT_EQ(s.shown("lab_v4_rx_hdcpx"), "2.2");
    // "on" only replaces an "off" on screen.
    EXPECT_TRUE(changes_nothing(s.query(hdcp_in_sw_q, "on")));
    EXPECT_TRUE(changes_nothing(s.query(hdcp_in_sw_q, "maybe")));
    EXPECT_TRUE(s.state.HdcpInOn);

    Screen h(4, 0);
    h.query(hdcp_in_sw_q, "off");
    EXPECT_EQ(h.cell(hdcp_cell, 2), "Off");
    EXPECT_EQ(h.shown("lab_v4_rx_hdcpx"), "");
    h.query(hdcp_in_sw_q, "on");
    h.query(hdcp_in_ver_q, "1.4");
    EXPECT_EQ(h.cell(hdcp_cell, 2), "1.4");
}

TEST(HdcpReplies, OutputSwitchOffThenVersionChangesNothing) {
    Screen s(0, 1);
    s.query(hdcp_out_sw_q, "off");
    EXPECT_FALSE(s.state.HdcpOutOn);
    EXPECT_TRUE(s.state.HdcpOutPass);
    EXPECT_EQ(s.shown("lab_v4_tx_hdcpx"), "Off");
    EXPECT_EQ(s.colour_of("lab_v4_tx_hdcpx"), black);
    EXPECT_EQ(s.colour_of("lab_item_val_h_0"), black);
    EXPECT_TRUE(changes_nothing(s.query(hdcp_out_ver_q, "2.2")));
}

TEST(HdcpReplies, OutputVersionShowsPassOrFail) {
    Screen s(0, 1);
    s.query(hdcp_out_sw_q, "hdcp22_on");
    EXPECT_TRUE(s.state.HdcpOutOn);
    EXPECT_TRUE(s.state.HdcpOutPass);
    s.query(hdcp_out_ver_q, "2.2");
    EXPECT_EQ(s.shown("lab_v4_tx_hdcpx"), "2.2  Pass");
    EXPECT_EQ(s.colour_of("lab_v4_tx_hdcpx"), black);

    s.query(hdcp_out_sw_q, "auth_fail");
    EXPECT_FALSE(s.state.HdcpOutPass);
    s.query(hdcp_out_ver_q, "1.4");
    EXPECT_EQ(s.shown("lab_v4_tx_hdcpx"), "1.4  Fail");
    EXPECT_EQ(s.colour_of("lab_v4_tx_hdcpx"), fail_red);
    EXPECT_EQ(s.colour_of("lab_item_val_h_0"), fail_red);

    Screen h(4, 1);
    h.query(hdcp_out_sw_q, "on");
    h.query(hdcp_out_ver_q, "1.4");
    EXPECT_EQ(h.cell(hdcp_cell, 0), "1.4  Pass");
    EXPECT_EQ(h.shown("lab_v4_tx_hdcpx"), "");
    h.query(hdcp_out_sw_q, "off");
    EXPECT_EQ(h.cell(hdcp_cell, 0), "Off");
}

TEST(HdcpView, CellsInBothModes) {
    Screen a(4, 0);
    a.detect(sd_hdcp, "2.2");
    const std::pair<int, int> analyser_cells[] = {{sd_hdcp_aksv, 1},       {sd_hdcp_bksv, 3},
                                                  {sd_hdcp_rxid, 4},       {sd_scdc_source_ver, 5},
                                                  {sd_scdc_scr_enable, 6}, {sd_scdc_sink_ver, 8},
                                                  {sd_scdc_scr_status, 9}};
    for (const auto& [index, cell] : analyser_cells) a.detect(index, "a" + std::to_string(cell));
    a.query(rx_scdc_q, "on");
    EXPECT_EQ(a.cell(hdcp_cell, 0), "2.2");
    EXPECT_EQ(a.cell(hdcp_cell, 7), "on");
    for (const auto& [index, cell] : analyser_cells) {
        EXPECT_EQ(a.cell(hdcp_cell, cell), "a" + std::to_string(cell));
    }
    EXPECT_EQ(a.shown("lab_source_hdcpx"), "");
    EXPECT_EQ(a.shown("lab_v4_rx_scdcx"), "");

    Screen p(4, 1);
    const std::pair<int, int> pattern_cells[] = {{kd_hdcp_aksv, 1},       {kd_hdcp_bksv, 3},
                                                 {kd_hdcp_rxid, 4},       {kd_scdc_source_ver, 5},
                                                 {kd_scdc_scr_enable, 6}, {kd_scdc_sink_ver, 8},
                                                 {kd_scdc_scr_status, 9}};
    for (const auto& [index, cell] : pattern_cells) p.detect(index, "p" + std::to_string(cell));
    p.detect(kd_hdcp, "2.3");
    p.detect(kd_scdc, "off");
    for (const auto& [index, cell] : pattern_cells) {
        EXPECT_EQ(p.cell(hdcp_cell, cell), "p" + std::to_string(cell));
    }
    EXPECT_EQ(p.cell(hdcp_cell, 2), "2.3");
    EXPECT_EQ(p.shown("lab_sink_rx_hdcpx"), "2.3");
    EXPECT_EQ(p.cell(hdcp_cell, 7), "off");
    EXPECT_EQ(p.shown("lab_sink_rx_scdcx"), "");
}

TEST(GeneratorAudio, MuteHoldsAgainstTheSourceReply) {
    Screen s(0, 1);
    s.query(audio_mute_q, "on");
    EXPECT_TRUE(s.state.AudioMuted);
    EXPECT_EQ(s.shown("lab_v4_out_audiox"), "Mute");
    EXPECT_TRUE(changes_nothing(s.query(audio_source_q, "int")));
    EXPECT_EQ(s.shown("lab_v4_out_audiox"), "Mute");
    s.query(audio_ch_q, "2");
    EXPECT_EQ(s.shown("lab_v4_out_audio_chx"), "");

    s.query(audio_mute_q, "off");
    EXPECT_FALSE(s.state.AudioMuted);
    EXPECT_EQ(s.shown("lab_v4_out_audiox"), "Mute");  // the source reply replaces it
    s.query(audio_source_q, "int");
    EXPECT_EQ(s.state.AudioSourceCode, 2);
    EXPECT_EQ(s.shown("lab_v4_out_audiox"), "Internal");
    s.query(audio_ch_q, "8");
    EXPECT_EQ(s.shown("lab_v4_out_audio_chx"), "8");
    s.query(audio_source_q, "hdmi");
    EXPECT_EQ(s.shown("lab_v4_out_audiox"), "HDMI");
    s.query(audio_ch_q, "8");
    EXPECT_EQ(s.shown("lab_v4_out_audio_chx"), "");
    s.query(audio_source_q, "ana");
    EXPECT_EQ(s.state.AudioSourceCode, 0);
    EXPECT_EQ(s.shown("lab_v4_out_audiox"), "Analog");
    EXPECT_TRUE(changes_nothing(s.query(audio_source_q, "spdif")));
    EXPECT_EQ(s.state.AudioSourceCode, 0);
}

TEST(GeneratorPattern, NameFromThePatternList) {
    Screen s(0, 1);
    const std::vector<std::string> patterns = {"Color Bar", "Ramp", "Checker"};
    s.context.patterns = patterns;
    s.query(pattern_q, "2");
    EXPECT_EQ(s.shown("lab_v4_patternx"), "Ramp");
    s.query(pattern_q, "9");
    EXPECT_EQ(s.shown("lab_v4_patternx"), "9");
}

TEST(PacketView, AviPresentAndAbsent) {
    Screen s(3, 0);
    // Colour space 2, colorimetry 3, IT content with ext 5, VIC 16, repetition 1.
    s.detect(sd_avi, " 82 02 0D 00 40 C0 D0 10 00 ");
    EXPECT_TRUE(s.state.AviPresent);
    EXPECT_EQ(s.cell(packet_cell, 2), "YCbCr444");
    EXPECT_EQ(s.cell(packet_cell, 3), "Extended Colorimetry");
    EXPECT_EQ(s.cell(packet_cell, 4), "Yes");
    EXPECT_EQ(s.cell(packet_cell, 5), "BT2020(1)");
    EXPECT_EQ(s.cell(packet_cell, 6), " 16 1920x1080p 59/60 16:9");
    EXPECT_EQ(s.cell(packet_cell, 7), "x1");
    EXPECT_EQ(s.shown("lab_source_cscx"), "");

    s.detect(sd_avi, "off");
    EXPECT_FALSE(s.state.AviPresent);
    EXPECT_EQ(s.cell(packet_cell, 2), "AVI Off");
    for (int c = 3; c <= 7; ++c) EXPECT_EQ(s.cell(packet_cell, c), "") << c;
}

TEST(PacketView, GcpAifSpdVsiDrm) {
    Screen s(3, 0);
    s.detect(sd_gcp, "03 00 00 01 05");
    EXPECT_EQ(s.cell(packet_cell, 0), "Set");
    EXPECT_EQ(s.cell(packet_cell, 1), "10");
    s.detect(sd_gcp, "None");
    EXPECT_FALSE(s.state.GcpPresent);
    EXPECT_EQ(s.cell(packet_cell, 0), "GCP Off");
    EXPECT_EQ(s.cell(packet_cell, 1), "");

    s.detect(sd_aif, "84 01 0A 70 01 00 00 00 00 00");
    EXPECT_TRUE(s.state.AifPresent);
    EXPECT_EQ(s.cell(packet_cell, 8), "Refer to stream header");
    EXPECT_EQ(s.cell(packet_cell, 9), "2");  // no leading blank in the cell
    EXPECT_EQ(s.cell(packet_cell, 13), " -   -   -  -  -  -  FR FL");
    EXPECT_EQ(s.cell(packet_cell, 14), "Permitted/No info");
    s.detect(sd_aif, "off");
    EXPECT_EQ(s.cell(packet_cell, 8), "AIF Off");
    for (int c = 9; c <= 14; ++c) EXPECT_EQ(s.cell(packet_cell, c), "") << c;

    s.detect(sd_spd, "83 01 19 00 41 42 00");
    EXPECT_EQ(s.cell(packet_cell, 15), "AB");
    EXPECT_EQ(s.cell(packet_cell, 17), "Unknown");

    s.detect(sd_vsi, "81 01 05 00 03 0C 00 20 03");
    EXPECT_EQ(s.cell(packet_cell, 18), "0x000C03");
    EXPECT_EQ(s.cell(packet_cell, 19), "Extended HDMI VIC");
    EXPECT_EQ(s.cell(packet_cell, 20), "3:3840x2160p23.98/24");
    EXPECT_EQ(s.cell(packet_cell, 21), "None");
    // An HDMI VIC without a text leaves cell 20 as it was.
    s.detect(sd_vsi, "81 01 05 00 03 0C 00 20 0C");
    EXPECT_EQ(s.cell(packet_cell, 20), "3:3840x2160p23.98/24");
    s.detect(sd_vsi, "81 01 05 00 03 0C 00 00 00");
    EXPECT_EQ(s.cell(packet_cell, 20), "None");
    s.detect(sd_vsi, "off");
    EXPECT_EQ(s.cell(packet_cell, 18), "VSI Off");
    EXPECT_EQ(s.cell(packet_cell, 21), "");

    std::string drm = "87 01 1A 00 00 00";
    for (int i = 6; i < 26; ++i) drm += " 00";
    drm += " 2C 01 C8 00";
    s.detect(sd_drmi, drm);
    EXPECT_EQ(s.cell(packet_cell, 22), "0:SDR Luminance Range");
    EXPECT_EQ(s.cell(packet_cell, 23), "Static Metadata Type 1");
    EXPECT_EQ(s.cell(packet_cell, 24), "300");
    EXPECT_EQ(s.cell(packet_cell, 25), "200");
    s.detect(sd_drmi, "None");
    EXPECT_EQ(s.cell(packet_cell, 22), "DRMI Off");
    EXPECT_EQ(s.cell(packet_cell, 25), "");
}

TEST(SystemView, PacketIndicatorsAndTexts) {
    Screen s(0, 0);
    s.detect(sd_avi, "82 02 0D 00 60");
    s.detect(sd_gcp, "03 00 00 10 06");
    s.detect(sd_aif, "84 01 0A 70 01");
    s.detect(sd_vsi, "None");
    s.detect(sd_drmi, "off");
    EXPECT_EQ(s.shown("lab_source_cscx"), "YCbCr420");
    EXPECT_EQ(s.shown("lab_source_avmutex"), "Clear");
    EXPECT_EQ(s.shown("lab_source_dcx"), "12");
    EXPECT_EQ(s.colour_of("lab_source_avi"), black);
    EXPECT_EQ(s.colour_of("lab_source_gcp"), black);
    EXPECT_EQ(s.colour_of("lab_source_aif"), black);
    EXPECT_EQ(s.colour_of("lab_source_vsi"), grey);
    EXPECT_EQ(s.colour_of("lab_source_drmi"), grey);
    EXPECT_EQ(s.cell(packet_cell, 2), "");

    s.detect(sd_avi, "None");
    s.detect(sd_gcp, "off");
    s.detect(sd_aif, "off");
    EXPECT_EQ(s.shown("lab_source_cscx"), "None");
    EXPECT_EQ(s.shown("lab_source_avmutex"), "None");
    EXPECT_EQ(s.shown("lab_source_dcx"), "None");
    EXPECT_EQ(s.colour_of("lab_source_avi"), grey);
    EXPECT_EQ(s.colour_of("lab_source_gcp"), grey);
    EXPECT_EQ(s.colour_of("lab_source_aif"), grey);
}

TEST(Dispatch, CableRepliesAreHandedOnAndUnknownIndicesIgnored) {
    Screen s(0, 2);
    std::vector<std::string> handed;
    s.context.cable_reply_show = [&](const std::string& p1) { handed.push_back(p1); };
    for (int index : {14, 15, 17, 19, 160, 161, 162, 163}) {
        const DisplayUpdates& u = s.query(index, "v" + std::to_string(index));
        EXPECT_TRUE(u.cable_reply) << index;
        EXPECT_TRUE(changes_nothing(u)) << index;
    }
    EXPECT_EQ(handed, (std::vector<std::string>{"v14", "v15", "v17", "v19", "v160", "v161", "v162",
                                                "v163"}));

    for (int index : {-1, 0, 12, 16, 29, 190, 191, 500}) {
        const DisplayUpdates& u = s.query(index, "on");
        EXPECT_FALSE(u.cable_reply) << index;
        EXPECT_TRUE(changes_nothing(u)) << index;
    }
}

}  // namespace
}  // namespace t27
