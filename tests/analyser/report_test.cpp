#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "analyser/commands.h"
#include "analyser/monitor_report.h"

namespace t27 {
namespace {

using namespace cmd;

constexpr int analyser = 0;
constexpr int pattern = 1;

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

// A unit that answers each command index from a table: detection items with
// the value in P2, plain queries with it in P1. Unlisted commands answer
// "None"; listed statuses override Accepted.
class FakeUnit {
  public:
    void detect(int index, std::string value) { replies_[index] = {"item", std::move(value)}; }
    void query(int index, std::string value) { replies_[index] = {std::move(value), "None"}; }
    void status(int index, ReplyStatus s) { statuses_[index] = s; }

    ReportReply operator()(int index) {
        sent.push_back(index);
        ReportReply r;
        auto st = statuses_.find(index);
        r.status = st == statuses_.end() ? ReplyStatus::Accepted : st->second;
        auto it = replies_.find(index);
        if (it != replies_.end()) r.params = it->second;
        return r;
    }

    std::vector<int> sent;

  private:
    std::map<int, PollReply> replies_;
    std::map<int, ReplyStatus> statuses_;
};

std::array<bool, 5> only(int section) {
    std::array<bool, 5> t{};
    t[static_cast<std::size_t>(section)] = true;
    return t;
}

ReportContext context(int task_mode, int model_family = 0) {
    ReportContext c;
    c.task_mode = task_mode;
    c.model_family = model_family;
    c.linked_model = "T27";
    return c;
}

std::vector<std::string> item(int section, int index, const std::string& value,
                              AnalyserState& state, const ReportContext& c, bool detection = true) {
    PollReply r = detection ? PollReply{"item", value, "None"} : PollReply{value, "None", "None"};
    return report_item_lines(section, index, r, c, state);
}

TEST(ReportHeader, ModeLinesAndVersion) {
    ReportHeader h{"10:21", "01/05/2024", "T27", "FW 1.02", 0};
    EXPECT_EQ(report_header(h),
              "Monitor Report 10:21 01/05/2024\r\nModel: T27 , FW 1.02 , AP: 2.18T\r\n"
              "Analyzer Mode\r\n");
    h.task_mode = 1;
    EXPECT_TRUE(report_header(h).ends_with("\r\nPattern Mode\r\n"));
    h.task_mode = 2;
    EXPECT_TRUE(report_header(h).ends_with("\r\nCable Test Mode\r\n"));
    h.task_mode = 254;
    EXPECT_TRUE(report_header(h).ends_with("AP: 2.18T\r\n\r\n"));
}

TEST(ReportSections, OnlyPacketInPatternModeGivesJustTheTitle) {
    FakeUnit unit;
    AnalyserState state;
    const ReportSections s =
        build_report_sections(only(3), context(pattern), state, std::ref(unit));
    EXPECT_FALSE(s.aborted);
    EXPECT_EQ(s.text, "\r\n========== Monitor Packet\r\n");
    EXPECT_TRUE(unit.sent.empty());
    const std::string full = report_header({"t", "d", "T27", "1.0", pattern}) + s.text;
    EXPECT_TRUE(full.ends_with("Pattern Mode\r\n\r\n========== Monitor Packet\r\n"));
}

TEST(ReportSections, NothingTickedWritesNothing) {
    FakeUnit unit;
    AnalyserState state;
    const ReportSections s = build_report_sections({}, context(analyser), state, std::ref(unit));
    EXPECT_EQ(s.text, "");
    EXPECT_TRUE(unit.sent.empty());
}

TEST(ReportSections, AFailedReplyAbortsAndAnErrorReplyIsWritten) {
    FakeUnit unit;
    unit.query(rx_sense_q, "err_busy");
    unit.status(rx_sense_q, ReplyStatus::ErrorReply);
    AnalyserState state;
    ReportSections s = build_report_sections(only(0), context(analyser), state, std::ref(unit));
    EXPECT_FALSE(s.aborted);
    EXPECT_NE(s.text.find("T27 Rx Sense = err_busy\r\n"), std::string::npos);

    unit.status(sd_ckdt, ReplyStatus::NoResponse);
    unit.sent.clear();
    s = build_report_sections(std::array<bool, 5>{true, true, false, false, false},
                              context(analyser), state, std::ref(unit));
    EXPECT_TRUE(s.aborted);
    EXPECT_EQ(s.text, "");
    // It stops at the failed item.
    EXPECT_EQ(unit.sent, (std::vector<int>{sd_5v, sd_ckdt}));

    unit.status(sd_ckdt, ReplyStatus::NotSent);
    EXPECT_TRUE(build_report_sections(only(0), context(analyser), state, std::ref(unit)).aborted);
}

TEST(ReportSections, ProgressCountsSectionsAndItems) {
    FakeUnit unit;
    AnalyserState state;
    std::vector<ReportProgress> seen;
    build_report_sections(std::array<bool, 5>{false, false, false, true, true}, context(analyser),
                          state, std::ref(unit),
                          [&](const ReportProgress& p) { seen.push_back(p); });
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front().items_done, 0);
    EXPECT_EQ(seen.front().items_total, 6 + 11);
    EXPECT_EQ(seen.front().sections_total, 2);
    EXPECT_EQ(seen.back().items_done, 17);
    EXPECT_EQ(seen.back().sections_done, 2);
    // One report per item plus one per section plus the first.
    EXPECT_EQ(seen.size(), 1u + 17u + 2u);
    for (std::size_t i = 1; i < seen.size(); ++i) {
        EXPECT_GE(seen[i].items_done, seen[i - 1].items_done);
    }
}

TEST(ReportSystem, AnalyserModeSectionLineByLine) {
    FakeUnit unit;
    unit.detect(sd_5v, "on");
    unit.detect(sd_ckdt, "on");
    unit.detect(sd_scdt, "on");
    unit.detect(sd_timingx, "1920x1080p60");
    unit.detect(sd_tmds_format, "hdmi");
    unit.detect(sd_avi, "82 02 0D 00 00 A8 00 10 00");
    unit.detect(sd_gcp, "03 00 00 10 04");
    unit.detect(sd_asp, "on");
    unit.detect(sd_hbr, "off");
    unit.detect(sd_aif, "84 01 0A 70 01");
    unit.detect(sd_hdcp, "1.4");
    unit.detect(sd_chs_code, "lpcm");
    unit.detect(sd_drmi, "off");
    unit.detect(sd_vsi, "81 01 05 00 03 0C 00");
    unit.query(rx_hotplug_q, "on");
    unit.query(rx_sense_q, "on");
    unit.query(color_space_q, "rgb");
    unit.query(deep_color_q, "8");
    unit.detect(edid_manuf_rx, "ABC");
    unit.detect(edid_model_rx, "0001");
    unit.detect(edid_native_rx, "1080p60");
    unit.detect(edid_type_rx, "hdmi_3g");
    unit.query(hdcp_in_sw_q, "on");
    unit.query(hdcp_in_ver_q, "2.2");
    unit.query(hdcp_out_sw_q, "off");
    unit.query(hdcp_out_ver_q, "2.2");
    unit.query(timingx_q, "1920x1080p60");
    unit.query(tmds_format_q, "hdmi");
    unit.query(tmds_sw_q, "on");
    unit.query(rx_scdc_q, "off");
    unit.detect(kd_hotplug, "on");
    unit.detect(kd_rsense, "on");
    unit.detect(edid_manuf_sink, "XYZ");
    unit.detect(edid_model_sink, "0002");
    unit.detect(edid_native_sink, "2160p60");
    unit.detect(edid_type_sink, "hdmi_6g");
    unit.detect(kd_hdcp, "2.2");
    unit.detect(kd_scdc, "on");

    AnalyserState state;
    state.AspActive = true;  // the list build clears it
    const ReportSections s =
        build_report_sections(only(0), context(analyser), state, std::ref(unit));
    const std::vector<std::string> expected = {
        "",
        "========== Monitor System",
        "Source +5V   = on",
        "Source Clock = on",
        "Source Sync  = on",
        "Source Resolution  = 1920x1080p60",
        "Source TMDS Format = HDMI",
        "Source Color Space = RGB",
        "Source AVMute = Clear",
        "Source Color Depth = 8",
        "Source Tx HDCP = 1.4",
        "Source Audio = LPCM",
        "Source Packets = GCP AVI AIF VSI ",
        "T27 Rx Hotplug = on",
        "T27 Rx Sense = on",
        "T27 Tx Color Space = rgb",
        "T27 Tx Deep Color = 8 Bits",
        "T27 Rx EDID Manufacturer = ABC",
        "T27 Rx EDID Model = 0001",
        "T27 Rx EDID Native = 1080p60",
        "T27 Rx EDID Type = hdmi_3g",
        "T27 Rx HDCP Port = 2.2",
        "T27 Tx HDCP Out = off",
        "T27 Out Resolution = 1920x1080p60",
        "T27 Out TMDS Format = HDMI",
        "T27 Output = on",
        "T27 Rx SCDC Port = off",
        "Sink Rx Hotplug = on",
        "Sink Rx Sense = on",
        "Sink Rx EDID Manufacturer = XYZ",
        "Sink Rx EDID Model = 0002",
        "Sink Rx EDID Native = 2160p60",
        "Sink Rx EDID Type = hdmi_6g",
        "Sink Rx HDCP Port = 2.2",
        "Sink Rx SCDC Port = on",
    };
    EXPECT_EQ(s.text,
              "\r\n" + joined(std::vector<std::string>(expected.begin() + 1, expected.end())));
    EXPECT_TRUE(state.AviPresent);
    EXPECT_FALSE(state.DrmiPresent);
}

TEST(ReportSystem, AviWithAndWithoutDataAndAbsentGcp) {
    AnalyserState state;
    const ReportContext c = context(analyser);
    EXPECT_EQ(item(0, sd_avi, "82 02 0D 00 20", state, c),
              (std::vector<std::string>{"Source Color Space = YCbCr422"}));
    EXPECT_EQ(item(0, sd_avi, "None", state, c),
              (std::vector<std::string>{"Source Color Space = None", ""}));
    EXPECT_EQ(item(0, sd_gcp, "off", state, c),
              (std::vector<std::string>{"Source AVMute = None", "Source Deep Color = None"}));
    EXPECT_EQ(
        item(0, sd_gcp, "03 00 00 01 00", state, c),
        (std::vector<std::string>{"Source AVMute = Set", "Source Color Depth = Not Indicated"}));
    EXPECT_EQ(item(0, sd_gcp, "03 00 00 00 03", state, c),
              (std::vector<std::string>{"Source AVMute = None", "Source Color Depth = Reserved"}));
}

TEST(ReportSystem, HbrAndGatedAudio) {
    AnalyserState state;
    const ReportContext c = context(analyser);
    EXPECT_TRUE(item(0, sd_asp, "on", state, c).empty());
    EXPECT_TRUE(state.AspActive);
    EXPECT_EQ(item(0, sd_hbr, "on", state, c), (std::vector<std::string>{"Source Audio = HBR"}));
    EXPECT_FALSE(state.AspActive);
    EXPECT_TRUE(item(0, sd_chs_code, "lpcm", state, c).empty());
    EXPECT_TRUE(item(0, sd_hbr, "off", state, c).empty());
}

TEST(ReportSystem, OutputHdcpFailLine) {
    AnalyserState state;
    const ReportContext c = context(pattern);
    EXPECT_TRUE(item(0, hdcp_out_sw_q, "hdcp_fail", state, c, false).empty());
    EXPECT_EQ(item(0, hdcp_out_ver_q, "2.2", state, c, false),
              (std::vector<std::string>{"T27 Tx HDCP Out = 2.2  Fail !"}));
    item(0, hdcp_out_sw_q, "hdcp_on", state, c, false);
    EXPECT_EQ(item(0, hdcp_out_ver_q, "1.4", state, c, false),
              (std::vector<std::string>{"T27 Tx HDCP Out = 1.4  Pass"}));
    EXPECT_EQ(item(0, hdcp_out_sw_q, "off", state, c, false),
              (std::vector<std::string>{"T27 Tx HDCP Out = off"}));
    EXPECT_TRUE(item(0, hdcp_out_ver_q, "1.4", state, c, false).empty());

    EXPECT_EQ(item(0, hdcp_in_sw_q, "off", state, c, false),
              (std::vector<std::string>{"T27 Rx HDCP Port = off"}));
    EXPECT_TRUE(item(0, hdcp_in_ver_q, "2.2", state, c, false).empty());
}

TEST(ReportSystem, PatternModeGeneratorLines) {
    AnalyserState state;
    ReportContext c = context(pattern);
    const std::vector<std::string> patterns = {"Color Bar", "Ramp"};
    c.patterns = patterns;
    EXPECT_EQ(item(0, pattern_q, "2", state, c, false),
              (std::vector<std::string>{"T27 Out Pattern    = Ramp"}));
    EXPECT_EQ(item(0, audio_mute_q, "off", state, c, false),
              (std::vector<std::string>{"T27 Out Audio Mute = off"}));
    EXPECT_EQ(item(0, audio_source_q, "int", state, c, false),
              (std::vector<std::string>{"T27 Out Audio Source = Internal Sinewave"}));
    EXPECT_EQ(item(0, audio_ch_q, "2", state, c, false),
              (std::vector<std::string>{"T27 Out Audio Channel No. = 2"}));
    EXPECT_EQ(item(0, audio_source_q, "hdmi", state, c, false),
              (std::vector<std::string>{"T27 Out Audio Source = HDMI In"}));
    EXPECT_EQ(item(0, audio_ch_q, "2", state, c, false),
              (std::vector<std::string>{"T27 Out Audio Channel No. = "}));
    EXPECT_EQ(item(0, audio_source_q, "ana", state, c, false),
              (std::vector<std::string>{"T27 Out Audio Source = Analog In"}));
    EXPECT_EQ(item(0, audio_source_q, "usb", state, c, false),
              (std::vector<std::string>{"T27 Out Audio Source = "}));
    EXPECT_EQ(item(0, hdr_sw_q, "on", state, c, false),
              (std::vector<std::string>{"T27 Out HDR = on"}));
    EXPECT_EQ(item(0, deep_color_q, "12", state, c, false),
              (std::vector<std::string>{"T27 Tx Deep Color = 12 Bits"}));
    EXPECT_EQ(item(0, audio_mute_q, "on", state, c, false),
              (std::vector<std::string>{"T27 Out Audio Mute = on"}));
    EXPECT_TRUE(state.AudioMuted);
}

TEST(ReportSystem, TheV4LReportsBypassAndFixedDepth) {
    AnalyserState state;
    const ReportContext a = context(analyser, 1);
    EXPECT_EQ(item(0, color_space_q, "rgb", state, a, false),
              (std::vector<std::string>{"T27 Tx Color Space = Bypass"}));
    EXPECT_EQ(item(0, deep_color_q, "10", state, a, false),
              (std::vector<std::string>{"T27 Tx Deep Color = Bypass"}));
    const ReportContext p = context(pattern, 1);
    EXPECT_EQ(item(0, color_space_q, "rgb", state, p, false),
              (std::vector<std::string>{"T27 Tx Color Space = rgb"}));
    EXPECT_EQ(item(0, deep_color_q, "10", state, p, false),
              (std::vector<std::string>{"T27 Tx Deep Color = 8 Bits"}));
    EXPECT_TRUE(item(0, audio_source_q, "int", state, p, false).empty());
    EXPECT_EQ(item(0, deep_color_q, "10", state, context(2, 1), false),
              (std::vector<std::string>{"T27 Tx Deep Color = "}));
}

TEST(ReportVideo, SectionLineByLine) {
    FakeUnit unit;
    unit.detect(sd_timingx, "1920x1080i60");
    unit.detect(sd_tmds_clock, "74250");
    unit.detect(sd_pixel_clock, "74250");
    unit.detect(sd_data_rate, "2227");
    unit.detect(sd_ht, "2200");
    unit.detect(sd_ha, "1920");
    unit.detect(sd_hbp, "148");
    unit.detect(sd_hsw, "44");
    unit.detect(sd_hfp, "88");
    unit.detect(sd_hsp, "P");
    unit.detect(sd_vt, "1125");
    unit.detect(sd_va, "540");
    unit.detect(sd_vbp, "15");
    unit.detect(sd_vsw, "5");
    unit.detect(sd_vfp, "2");
    unit.detect(sd_vsp, "P");
    unit.detect(sd_hvs_offset1, "0");
    unit.detect(sd_hvs_offset2, "1100");
    unit.detect(sd_scan, "i");
    AnalyserState state;
    const ReportSections s =
        build_report_sections(only(1), context(analyser), state, std::ref(unit));
    EXPECT_EQ(s.text, "\r\n" + joined({
                                   "========== Monitor Video Timing",
                                   "Source Resolution  = 1920x1080i60",
                                   "Source TMDS Clock = 74250 kHz",
                                   "Source Pixel Clock= 74250 kHz",
                                   "Source Video Data Rate = 2.227 Gbps",
                                   "Source H Total         = 2200 pixel",
                                   "Source H Active        = 1920 pixel",
                                   "Source H Back Porch    = 148 pixel",
                                   "Source H Sync Width    = 44 pixel",
                                   "Source H Front Porch   = 88 pixel",
                                   "Source H Sync Polarity = P",
                                   "Source H Frequency = 33750 Hz",
                                   "Source V Total         = 1125 line",
                                   "Source V Active        = 540 line",
                                   "Source V Back Porch    = 15 line",
                                   "Source V Sync Width    = 5 line",
                                   "Source V Front Porch   = 2 line",
                                   "Source V Sync Polarity = P",
                                   "Source H/V Offset1 = 0 dot",
                                   "Source H/V Offset2 = 1100 dot",
                                   "Source Scan = Interlace",
                                   "Source V Frequency =60.00 Hz",
                               }));
}

TEST(ReportVideo, NoTotalsGiveZeroAndQuestionMark) {
    AnalyserState state;
    const ReportContext c = context(analyser);
    item(1, sd_ht, "None", state, c);
    EXPECT_EQ(
        item(1, sd_hsp, "N", state, c),
        (std::vector<std::string>{"Source H Sync Polarity = N", "Source H Frequency = 0 Hz"}));
    EXPECT_EQ(item(1, sd_scan, "None", state, c),
              (std::vector<std::string>{"Source Scan = None", "Source V Frequency =? Hz"}));
}

TEST(ReportAudio, GatedLinesFollowTheSamplePackets) {
    AnalyserState state;
    const ReportContext c = context(analyser);
    EXPECT_EQ(item(2, sd_aif, "off", state, c), (std::vector<std::string>{"Source AIF = off"}));
    EXPECT_EQ(item(2, sd_aif, "None", state, c), (std::vector<std::string>{"Source AIF = off"}));
    EXPECT_EQ(item(2, sd_aif, "84 01 0A", state, c),
              (std::vector<std::string>{"Source AIF       = on"}));
    EXPECT_EQ(item(2, sd_hbr, "on", state, c), (std::vector<std::string>{"Source HBR       = on"}));
    EXPECT_TRUE(item(2, sd_asp_pll, "lock", state, c).empty());
    EXPECT_TRUE(item(2, sd_chs_sr, "48", state, c).empty());
    EXPECT_EQ(item(2, sd_asp, "on", state, c), (std::vector<std::string>{"Source ASP       = on"}));
    EXPECT_EQ(item(2, sd_asp_pll, "unlock", state, c),
              (std::vector<std::string>{"Source ASP PLL   = Unlocked"}));
    EXPECT_TRUE(item(2, sd_asp_pll, "odd", state, c).empty());
    EXPECT_EQ(item(2, sd_asp_fifo, "nor", state, c),
              (std::vector<std::string>{"Source ASP FIFO  = Normal"}));
    EXPECT_EQ(item(2, sd_asp_layout, "0", state, c),
              (std::vector<std::string>{"Source ASP Layout= 0"}));
    EXPECT_EQ(item(2, sd_asp_ch, "2", state, c),
              (std::vector<std::string>{"Source ASP Ch No.= 2"}));
    EXPECT_EQ(item(2, sd_chs_type, "c", state, c),
              (std::vector<std::string>{"Source CHS Type          = Consumer"}));
    EXPECT_EQ(item(2, sd_chs_type, "q", state, c),
              (std::vector<std::string>{"Source CHS Type          = "}));
    EXPECT_EQ(item(2, sd_chs_code, "lpcm", state, c),
              (std::vector<std::string>{"Source CHS Coding        = LPCM"}));
    EXPECT_EQ(item(2, sd_chs_sr, "48", state, c),
              (std::vector<std::string>{"Source CHS Sampling Rate = 48 kHz"}));
    EXPECT_EQ(item(2, sd_chs_ss, "24", state, c),
              (std::vector<std::string>{"Source CHS Sampling Size = 24 Bits"}));
    EXPECT_EQ(item(2, sd_acr_cts, "74250", state, c),
              (std::vector<std::string>{"Source ACR CTS   = 74250"}));
    EXPECT_EQ(item(2, sd_asp, "off", state, c),
              (std::vector<std::string>{"Source ASP       = off"}));
    EXPECT_TRUE(item(2, sd_chs_sr, "48", state, c).empty());
}

TEST(ReportPacket, RawBlockRunsTenGroupsALine) {
    std::string packet;
    for (int i = 0; i < 23; ++i) {
        char g[4];
        std::snprintf(g, sizeof g, "%02X ", i);
        packet += g;
    }
    EXPECT_EQ(raw_packet_lines(packet),
              (std::vector<std::string>{"   00 01 02 03 04 05 06 07 08 09 ",
                                        "   0A 0B 0C 0D 0E 0F 10 11 12 13 ", "   14 15 16 "}));
    // A tenth group always opens the next line, even when nothing follows.
    EXPECT_EQ(raw_packet_lines("00 01 02 03 04 05 06 07 08 09 "),
              (std::vector<std::string>{"   00 01 02 03 04 05 06 07 08 09 ", "   "}));
}

TEST(ReportPacket, AviBlockAndDecodedLines) {
    AnalyserState state;
    const ReportContext c = context(analyser);
    // 17 bytes: header, checksum, PB1..PB13.
    const std::string avi = "82 02 0D 5A 40 A8 00 10 00 00 00 00 00 00 00 00 00";
    EXPECT_EQ(item(3, sd_avi, avi, state, c),
              (std::vector<std::string>{
                  "Source AVI = ",
                  "   82 02 0D 5A 40 A8 00 10 00 00 ",
                  "   00 00 00 00 00 00 00 ",
                  "   Color Space = YCbCr444",
                  "   Colorimetry = ITU709",
                  "   IT Content = No",
                  "   Extended Colorimetry = None",
                  "   VIC =  16 1920x1080p 59/60 16:9",  // label blank, then lead_blank
                  "   Pixel Repitition = x1",
                  "",
              }));
    EXPECT_TRUE(state.AviPresent);
    EXPECT_EQ(item(3, sd_avi, "off", state, c), (std::vector<std::string>{"Source AVI = off", ""}));
    EXPECT_FALSE(state.AviPresent);
}

TEST(ReportPacket, GcpAifSpdVsiDrmLines) {
    AnalyserState state;
    const ReportContext c = context(analyser);
    EXPECT_EQ(item(3, sd_gcp, "03 00 00 01 05", state, c),
              (std::vector<std::string>{"Source GCP = ", "   03 00 00 01 05 ", "   AVMute = Set",
                                        "   Color Depth = 10", ""}));
    EXPECT_EQ(item(3, sd_gcp, "03 00 00 00 00", state, c)[3], "   Color Depth = Not Indicated");

    const auto aif = item(3, sd_aif, "84 01 0A 70 01 00 00 00 00 00", state, c);
    EXPECT_EQ(aif, (std::vector<std::string>{
                       "Source AIF = ",
                       "   84 01 0A 70 01 00 00 00 00 00 ",
                       "   ",
                       "   Coding Type   = Refer to stream header",
                       "   Channel No.   =  2",
                       "   Sampling Rate = Refer to stream header",
                       "   Sampling Size = Refer to stream header",
                       "   Ext. Coding   = Refer to Coding Type",
                       "   Speaker Place =  -   -   -  -  -  -  FR FL",
                       "   Down Mix.     = Permitted/No info",
                       "",
                   }));

    const auto spd = item(3, sd_spd, "83 01 19 00 41 42", state, c);
    ASSERT_EQ(spd.size(), 6u);
    EXPECT_EQ(spd[2], "   Vendor     = AB");
    EXPECT_EQ(spd[3], "   Product    = ");
    EXPECT_EQ(spd[4], "   Information= Unknown");

    const auto vsi = item(3, sd_vsi, "81 01 05 00 03 0C 00 20 20", state, c);
    ASSERT_EQ(vsi.size(), 7u);
    EXPECT_EQ(vsi[2], "   IEEE ID           = 0x000C03");
    EXPECT_EQ(vsi[3], "   HDMI Video Format = Extended HDMI VIC");
    EXPECT_EQ(vsi[4], "   Ext.HDMI VIC      = ");  // 32 has no text
    EXPECT_EQ(vsi[5], "   3D Structure      = None");

    std::string drm = "87 01 1A 00 02 00";
    for (int i = 6; i < 26; ++i) drm += " 00";
    drm += " E8 03 90 01";
    const auto d = item(3, sd_drmi, drm, state, c);
    // Thirty bytes: three full block lines and the bare line the tenth opens.
    ASSERT_EQ(d.size(), 1u + 4u + 4u + 1u);
    EXPECT_EQ(d[0], "Source DRMI= ");
    EXPECT_EQ(d[3], "   00 00 00 00 00 00 E8 03 90 01 ");
    EXPECT_EQ(d[4], "   ");
    EXPECT_EQ(d[5], "   EOTF     = 2:SMPTE ST 2084[2]");
    EXPECT_EQ(d[6], "   Metadata = Static Metadata Type 1");
    EXPECT_EQ(d[7], "   Max. Content Light Level       = 1000");
    EXPECT_EQ(d[8], "   Max. Frame-Average Light Level = 400");
    EXPECT_EQ(d[9], "");
    EXPECT_TRUE(state.DrmiPresent);
}

TEST(ReportHdcp, AnalyserAndPatternModeLines) {
    FakeUnit unit;
    unit.detect(sd_hdcp, "2.2");
    unit.detect(sd_hdcp_aksv, "AK");
    unit.query(hdcp_in_sw_q, "on");
    unit.query(hdcp_in_ver_q, "2.2");
    unit.detect(sd_hdcp_bksv, "BK");
    unit.detect(sd_hdcp_rxid, "RX");
    unit.detect(sd_scdc_source_ver, "1");
    unit.detect(sd_scdc_scr_enable, "on");
    unit.query(rx_scdc_q, "on");
    unit.detect(sd_scdc_sink_ver, "1");
    unit.detect(sd_scdc_scr_status, "on");
    AnalyserState state;
    EXPECT_EQ(
        build_report_sections(only(4), context(analyser), state, std::ref(unit)).text,
        "\r\n" +
            joined({"========== Monitor HDCP & SCDC", "Source Tx HDCP = 2.2",
                    "Source Tx HDCP Aksv = AK", "T27 Rx HDCP Port = 2.2", "T27 Rx HDCP Bksv = BK",
                    "T27 Rx HDCP RxID = RX", "", "Source Tx SCDC Source Version = 1",
                    "Source Tx SCDC Scramble Enable = on", "T27 Rx SCDC Port = on",
                    "T27 Rx SCDC Sink Version = 1", "T27 Rx SCDC Scramble Status = on"}));

    FakeUnit sink;
    sink.query(hdcp_out_sw_q, "on");
    sink.query(hdcp_out_ver_q, "1.4");
    sink.detect(kd_hdcp_aksv, "AK");
    sink.detect(kd_hdcp, "1.4");
    sink.detect(kd_hdcp_bksv, "BK");
    sink.detect(kd_hdcp_rxid, "RX");
    sink.detect(kd_scdc_source_ver, "1");
    sink.detect(kd_scdc_scr_enable, "off");
    sink.detect(kd_scdc, "on");
    sink.detect(kd_scdc_sink_ver, "1");
    sink.detect(kd_scdc_scr_status, "off");
    state.HdcpOutOn = true;
    EXPECT_EQ(
        build_report_sections(only(4), context(pattern), state, std::ref(sink)).text,
        "\r\n" +
            joined({"========== Monitor HDCP & SCDC", "T27 Tx HDCP Out = 1.4  Pass",
                    "T27 Tx HDCP Aksv = AK", "Sink Rx HDCP Port = 1.4", "Sink Rx HDCP Bksv = BK",
                    "Sink Rx HDCP RxID = RX", "", "T27 Tx SCDC Source Version = 1",
                    "T27 Tx SCDC Scramble Enable = off", "Sink Rx SCDC Port = on",
                    "Sink Rx SCDC Sink Version = 1", "Sink Rx SCDC Scramble Status = off"}));
}

TEST(ReportHdcp, NoModelPrefixBeforeLinking) {
    AnalyserState state;
    ReportContext c = context(analyser);
    c.linked_model.clear();
    EXPECT_EQ(item(4, sd_hdcp_bksv, "BK", state, c),
              (std::vector<std::string>{" Rx HDCP Bksv = BK"}));
}

TEST(ReportFile, TxtNameRuleAndClosingLineEnd) {
    EXPECT_EQ(report_file_name("C:\\r\\report.txt"), "C:\\r\\report.txt");
    EXPECT_EQ(report_file_name("/tmp/REPORT.TXT"), "/tmp/REPORT.TXT");
    EXPECT_EQ(report_file_name("/tmp/report.log"), "/tmp/report.txt");
    EXPECT_EQ(report_file_name("/tmp/report"), "/tmp/report.txt");
    EXPECT_EQ(report_file_name("/tmp/a.b/report"), "/tmp/a.b/report.txt");
    EXPECT_EQ(report_file_name("/tmp/.hidden"), "/tmp/.hidden.txt");
    EXPECT_EQ(report_file_name("ab"), "ab.txt");
    EXPECT_EQ(report_file_name("/tmp/"), "");
    // Only a short final extension is replaced; other dots are part of the name.
    EXPECT_EQ(report_file_name("/tmp/v1.2 final"), "/tmp/v1.2 final.txt");
    EXPECT_EQ(report_file_name("/tmp/v1.2"), "/tmp/v1.2.txt");
    EXPECT_EQ(report_file_name("/tmp/myreport"), "/tmp/myreport.txt");
    EXPECT_EQ(report_file_contents("A\r\nB"), "A\r\nB\r\n");
}

}  // namespace
}  // namespace t27
