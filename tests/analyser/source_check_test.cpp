#include "analyser/source_check.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "analyser/commands.h"
#include "edid/edid_files.h"
#include "edid/edit/edit_ops.h"

namespace t27 {
namespace {

using namespace cmd;

EdidModel image(const std::string& file) {
    const EdidLoad load = edid_file_load(std::string(T27_EDID_TEST_DATA) + "/" + file);
    const std::string bytes(reinterpret_cast<const char*>(load.buffer.data.data()),
                            static_cast<std::size_t>(load.buffer.size));
    std::optional<EdidModel> m = EdidModel::parse(bytes);
    EXPECT_TRUE(m) << file;
    return m ? *m : *EdidModel::parse(std::string(128, '\0'));
}

using Edit = std::function<void(EdidModel&)>;

void ok(const EdidEdit& e) { ASSERT_TRUE(e.ok()) << e.why; }

const Edit no_hdr = [](EdidModel& m) { ok(edit_hdr_static(m, false)); };
const Edit add_vcdb = [](EdidModel& m) {
    ok(m.insert_data_block(first_cta_block(m),
                           data_block_template(DataBlockKind::video_capability)));
};
// hdmi-hf-6g's 4:2:0 video block without VIC 96.
const Edit y420_without_96 = [](EdidModel& m) {
    ok(edit_set_svds(m, data_blocks_of(m, DataBlockKind::y420_video).front(), {97}));
};
const Edit mat_audio = [](EdidModel& m) {
    std::string sad;
    ok(parse_audio_option("mat:8:48,192", sad));
    ok(edit_audio(m, {sad}));
};

// 1080p60 RGB 8-bit in HDMI mode with AVI, GCP and 2-channel L-PCM at 48 kHz.
SignalFacts plain() {
    SignalFacts s;
    s.signal = s.hdmi_mode = true;
    s.timing = "1920x1080p60";
    s.tmds_khz = 148500;
    s.avi = s.gcp = s.aif = true;
    s.colorimetry = 2;
    s.vic = 16;
    s.depth = 8;
    s.audio = true;
    s.audio_coding = 1;
    s.audio_channels = 2;
    s.audio_rate_hz = 48000;
    return s;
}

using Change = std::function<void(SignalFacts&)>;

struct Row {
    const char* rule;
    Change signal;
    const char* edid;
    Edit edit;
    Verdict want;
};

const Change as_is = [](SignalFacts&) {};
const Change uhd_hdr10 = [](SignalFacts& s) {
    s.vic = 97;
    s.timing = "3840x2160p60";
    s.tmds_khz = 594000;
    s.scrambled = true;
    s.color_space = 1;
    s.colorimetry = 3;
    s.ext_colorimetry = 6;
    s.depth = 12;
    s.drm = true;
    s.eotf = 2;
};
const Change uhd_420 = [](SignalFacts& s) {
    s.vic = 96;
    s.timing = "3840x2160p50";
    s.color_space = 3;
    s.depth = 10;
    s.tmds_khz = 371250;
    s.scrambled = true;
};
Change vic(int n) {
    return [n](SignalFacts& s) { s.vic = n; };
}
Change space_depth(int space, int depth) {
    return [space, depth](SignalFacts& s) {
        s.color_space = space;
        s.depth = depth;
    };
}
Change measured(const char* timing) {
    return [timing](SignalFacts& s) {
        s.avi = false;
        s.vic = 0;
        s.timing = timing;
    };
}
Change ext_colorimetry(int code) {
    return [code](SignalFacts& s) {
        s.color_space = 2;
        s.colorimetry = 3;
        s.ext_colorimetry = code;
    };
}
Change audio(int coding, int channels, int rate, bool hbr = false) {
    return [=](SignalFacts& s) {
        s.audio_coding = coding;
        s.audio_channels = channels;
        s.audio_rate_hz = rate;
        s.hbr = hbr;
    };
}
const Change dvi_mode = [](SignalFacts& s) {
    s.hdmi_mode = s.avi = s.aif = s.gcp = s.audio = false;
};

TEST(SourceCheck, EachRuleAgainstTheEdidsItRestsOn) {
    const Edit none;
    // clang-format off
    const Row rows[] = {
        {"Video format", as_is, "hdmi-tv-hd.bin", none, Verdict::pass},
        {"Video format", vic(97), "hdmi-tv-hd.bin", none, Verdict::fail},
        {"Video format", vic(1), "dvi-monitor.bin", none, Verdict::pass},       // 640x480 always
        {"Video format", measured("1920x1200p59.95"), "dvi-monitor.bin", none, Verdict::pass},
        {"Video format", measured("1280x720p60"), "dvi-monitor.bin", none, Verdict::fail},
        {"Video format", vic(16), "dvi-cea-other-oui.hex", none, Verdict::pass},
        {"Video format", uhd_420, "hdmi-hf-6g.bin", y420_without_96, Verdict::fail},  // 96 only as 4:2:0
        {"Video format", [](SignalFacts& s) { s.avi = false; s.vic = 0; s.vsi = true; s.hdmi_vic = 1; },
         "hdmi-tv-1080i.bin", none, Verdict::pass},
        {"YCbCr 4:2:0", uhd_420, "hdmi-hf-6g.bin", none, Verdict::pass},
        {"YCbCr 4:2:0", uhd_420, "hdmi-hf-6g.bin", y420_without_96, Verdict::fail},
        {"YCbCr 4:2:0", [](SignalFacts& s) { uhd_420(s); s.vic = 97; }, "hdr-y420cmdb.bin", none, Verdict::pass},
        {"YCbCr 4:2:0", [](SignalFacts& s) { uhd_420(s); s.vic = 16; }, "hdr-y420cmdb.bin", none, Verdict::fail},
        {"YCbCr 4:2:0", as_is, "hdmi-hf-6g.bin", none, Verdict::not_applicable},
        {"Colour space", space_depth(2, 8), "hdmi-tv-hd.bin", none, Verdict::pass},
        {"Colour space", space_depth(1, 8), "dvi-monitor.bin", none, Verdict::fail},
        {"Colorimetry", ext_colorimetry(1), "hdr-y420cmdb.bin", none, Verdict::pass},
        {"Colorimetry", ext_colorimetry(6), "hdr-y420cmdb.bin", none, Verdict::fail},
        {"Colorimetry", ext_colorimetry(6), "hdmi-hf-6g.bin", none, Verdict::fail},  // no block at all
        {"Colorimetry", as_is, "hdmi-hf-6g.bin", none, Verdict::not_applicable},
        {"Quantisation range", [](SignalFacts& s) { s.rgb_quant = 2; }, "hdmi-tv-hd.bin", add_vcdb, Verdict::pass},
        {"Quantisation range", [](SignalFacts& s) { s.rgb_quant = 2; }, "hdmi-tv-hd.bin", none, Verdict::fail},
        {"Quantisation range", [](SignalFacts& s) { s.color_space = 2; s.ycc_quant = 1; }, "hdmi-tv-hd.bin", add_vcdb, Verdict::fail},
        {"Quantisation range", as_is, "hdmi-tv-hd.bin", none, Verdict::not_applicable},
        {"Deep colour", space_depth(0, 12), "hdmi-tv-1080i.bin", none, Verdict::pass},
        {"Deep colour", space_depth(0, 12), "hdmi-tv-hd.bin", none, Verdict::fail},
        {"Deep colour", space_depth(2, 10), "hdmi-hf-6g.bin", none, Verdict::pass},
        {"Deep colour", space_depth(2, 10), "hdmi-tv-1080i.bin", none, Verdict::fail},  // no DC_Y444
        {"Deep colour", space_depth(3, 10), "hdmi-hf-6g.bin", none, Verdict::pass},
        {"Deep colour", space_depth(3, 12), "hdmi-hf-6g.bin", none, Verdict::fail},
        {"Deep colour", space_depth(1, 12), "hdmi-tv-hd.bin", none, Verdict::not_applicable},
        {"Deep colour", space_depth(0, packet_none_marker), "hdmi-hf-6g.bin", none, Verdict::fail},
        {"TMDS clock", uhd_hdr10, "hdmi-hf-6g.bin", none, Verdict::pass},
        {"TMDS clock", uhd_hdr10, "hdmi-tv-1080i.bin", none, Verdict::fail},
        {"TMDS clock", [](SignalFacts& s) { s.tmds_khz = 185625; }, "hdmi-tv-hd.bin", none, Verdict::fail},  // 165 MHz
        {"Scrambling", uhd_hdr10, "hdmi-hf-6g.bin", none, Verdict::pass},
        {"Scrambling", uhd_hdr10, "hdmi-tv-1080i.bin", none, Verdict::fail},
        {"Scrambling", as_is, "hdmi-tv-1080i.bin", none, Verdict::not_applicable},
        {"HDR EOTF", uhd_hdr10, "hdmi-hf-6g.bin", none, Verdict::pass},
        {"HDR EOTF", uhd_hdr10, "hdmi-hf-6g.bin", no_hdr, Verdict::fail},
        {"HDR EOTF", [](SignalFacts& s) { uhd_hdr10(s); s.eotf = 3; }, "hdmi-hf-6g.bin", none, Verdict::fail},
        {"HDR EOTF", [](SignalFacts& s) { uhd_hdr10(s); s.eotf = 3; }, "hdr-y420cmdb.bin", none, Verdict::pass},
        {"Audio format", as_is, "hdmi-tv-hd.bin", none, Verdict::pass},
        {"Audio format", audio(1, 8, 96000), "hdmi-tv-hd.bin", none, Verdict::fail},
        {"Audio format", audio(1, 2, 96000), "hdmi-tv-hd.bin", none, Verdict::fail},
        {"Audio format", audio(2, 6, 48000), "hdmi-tv-1080i.bin", none, Verdict::pass},
        {"Audio format", audio(not_signalled, not_signalled, 48000), "hdmi-tv-hd.bin", none, Verdict::fail},
        {"HBR audio", audio(12, 8, 192000, true), "hdmi-hf-6g.bin", mat_audio, Verdict::pass},
        {"HBR audio", audio(12, 8, 192000, true), "hdmi-hf-6g.bin", none, Verdict::fail},
        {"HBR audio", audio(not_signalled, 8, 96000, true), "hdmi-hf-6g.bin", mat_audio, Verdict::fail},
        {"DVI sink", as_is, "dvi-monitor.bin", none, Verdict::fail},
        {"DVI sink", dvi_mode, "dvi-monitor.bin", none, Verdict::pass},
        {"DVI sink", as_is, "dvi-cea-other-oui.hex", none, Verdict::fail},  // another OUI is no HDMI
        {"DVI sink", as_is, "hdmi-tv-hd.bin", none, Verdict::not_applicable},
        {"AVI InfoFrame", as_is, "hdmi-tv-hd.bin", none, Verdict::pass},
        {"AVI InfoFrame", dvi_mode, "hdmi-tv-hd.bin", none, Verdict::fail},
        {"3D", [](SignalFacts& s) { s.vsi = true; s.three_d = "Frame Packing"; }, "hdmi-tv-1080i.bin", none, Verdict::pass},
        {"3D", [](SignalFacts& s) { s.vsi = true; s.three_d = "Frame Packing"; }, "hdmi-tv-hd.bin", none, Verdict::fail},
    };
    // clang-format on
    std::set<std::pair<std::string, Verdict>> seen;
    for (const Row& r : rows) {
        SignalFacts s = plain();
        r.signal(s);
        EdidModel m = image(r.edid);
        if (r.edit) r.edit(m);
        bool found = false;
        for (const SourceCheckRow& row : source_check_run(s, sink_caps(m))) {
            if (row.rule != r.rule) continue;
            found = true;
            EXPECT_EQ(verdict_text(row.result.verdict), std::string(verdict_text(r.want)))
                << r.rule << " against " << r.edid << ": " << row.result.source << " / "
                << row.result.edid;
            EXPECT_FALSE(row.result.source.empty()) << r.rule;
        }
        EXPECT_TRUE(found) << r.rule;
        seen.insert({r.rule, r.want});
    }
    for (const SourceRule& rule : source_rules()) {
        EXPECT_TRUE(seen.count({rule.name, Verdict::pass})) << rule.name << " has no PASS row";
        EXPECT_TRUE(seen.count({rule.name, Verdict::fail})) << rule.name << " has no FAIL row";
    }
}

TEST(SourceCheck, WithoutASignalNothingIsJudged) {
    SignalFacts s = plain();
    s.signal = false;
    const auto rows = source_check_run(s, sink_caps(image("dvi-monitor.bin")));
    ASSERT_EQ(rows.size(), source_rules().size());
    for (const SourceCheckRow& r : rows) EXPECT_EQ(r.result.verdict, Verdict::not_applicable);
    EXPECT_FALSE(source_check_failed(rows));
}

// The facts come from the unit's replies as the analyser decodes them.
struct Reply {
    int index;
    const char* item;
    const char* value;
};

SignalFacts facts_of(const std::vector<Reply>& replies) {
    SourceSignal sig;
    for (const Reply& r : replies) source_signal_take(sig, r.index, {r.item, r.value, "None"});
    return signal_facts(sig);
}

TEST(SourceCheck, FactsFromTheUnitsReplies) {
    const std::vector<Reply> link = {{sd_5v, "5v", "on"},
                                     {sd_scdt, "scdt", "on"},
                                     {sd_tmds_format, "tmds_format", "hdmi"},
                                     {sd_tmds_clock, "tmds_clock", "148500"}};
    auto with = [&link](std::vector<Reply> more) {
        std::vector<Reply> all = link;
        all.insert(all.end(), more.begin(), more.end());
        return facts_of(all);
    };
    // AVI: YCbCr 4:4:4, extended colorimetry BT.2020 (6), RGB quantisation
    // full (Q 2) in PB3, YQ full in PB5, VIC 97.
    const SignalFacts avi = with({{sd_avi, "avi", "82 02 0D 00 50 C8 68 61 40 00"}});
    EXPECT_TRUE(avi.signal && avi.avi);
    EXPECT_EQ(avi.color_space, 2);
    EXPECT_EQ(avi.colorimetry, 3);
    EXPECT_EQ(avi.ext_colorimetry, 6);
    EXPECT_EQ(avi.rgb_quant, 2);
    EXPECT_EQ(avi.ycc_quant, 1);
    EXPECT_EQ(avi.vic, 97);

    // L-PCM whose InfoFrame leaves everything to the stream: channel status
    // and the sample packets give the rate and the channels.
    const SignalFacts pcm = with({{sd_aif, "aif", "84 01 0A 70 01 00 00 00 00 00"},
                                  {sd_asp, "asp", "on"},
                                  {sd_hbr, "hbr", "off"},
                                  {sd_asp_ch, "asp_ch", "8"},
                                  {sd_chs_code, "chs_code", "lpcm"},
                                  {sd_chs_sr, "chs_sr", "44.1"}});
    EXPECT_TRUE(pcm.audio);
    EXPECT_EQ(pcm.audio_coding, 1);
    EXPECT_EQ(pcm.audio_channels, 2);  // the InfoFrame's count wins over the layout
    EXPECT_EQ(pcm.audio_rate_hz, 44100);

    // HBR: channel status names four times the rate; no channel status and
    // no InfoFrame rate leaves audio clock regeneration (N 6144 at 48 kHz).
    EXPECT_EQ(with({{sd_hbr, "hbr", "on"}, {sd_chs_sr, "chs_sr", "768"}}).audio_rate_hz, 192000);
    EXPECT_EQ(
        with(
            {{sd_asp, "asp", "on"}, {sd_acr_n, "acr_n", "6144"}, {sd_acr_cts, "acr_cts", "148500"}})
            .audio_rate_hz,
        48000);

    // DRM EOTF, 3D frame packing, GCP depth.
    const SignalFacts more = with({{sd_drmi, "drmi", "87 01 1A 00 02 00"},
                                   {sd_vsi, "vsi", "81 01 05 00 03 0C 00 40 00"},
                                   {sd_gcp, "gcp", "03 00 00 10 06 00 00"}});
    EXPECT_EQ(more.eotf, 2);
    EXPECT_EQ(more.three_d, "Frame Packing");
    EXPECT_EQ(more.depth, 12);

    // Replies no unit should send are no facts at all.
    const SignalFacts junk = with({{sd_timingx, "timingx", "99999999999999999999x1p1"},
                                   {sd_asp, "asp", "on"},
                                   {sd_chs_code, "chs_code", "lpcm"},
                                   {sd_chs_sr, "chs_sr", "inf"},
                                   {sd_tmds_clock, "tmds_clock", "\x1b[0m"}});
    EXPECT_EQ(junk.audio_rate_hz, not_signalled);
    EXPECT_EQ(junk.tmds_khz, 0);
    EXPECT_EQ(source_check_run(junk, sink_caps(image("hdmi-tv-hd.bin"))).front().result.verdict,
              Verdict::not_applicable);

    // Nothing heard, or "off": no signal, no packets.
    EXPECT_FALSE(facts_of({}).signal);
    const SignalFacts off = with({{sd_avi, "avi", "off"}, {sd_scdt, "scdt", "off"}});
    EXPECT_FALSE(off.signal || off.avi);
}

TEST(SourceCheck, TextAndJsonCarryTheSameVerdicts) {
    SignalFacts s = plain();
    s.vic = 97;
    const auto rows = source_check_run(s, sink_caps(image("hdmi-tv-hd.bin")));
    ASSERT_TRUE(source_check_failed(rows));
    const std::string text = source_check_text(rows, "file \"tv.bin\"", true);
    EXPECT_EQ(text.rfind("EDID: file \"tv.bin\"\r\n", 0), 0u);
    EXPECT_NE(text.find("\r\nVideo format        FAIL"), std::string::npos) << text;
    EXPECT_NE(text.find("1 FAIL"), std::string::npos);
    const std::string json = source_check_json(rows, "file \"tv.bin\"");
    EXPECT_EQ(
        json.rfind("{\"edid\": \"file \\\"tv.bin\\\"\", \"rules\": [{\"rule\": \"Video format\", "
                   "\"verdict\": \"FAIL\"",
                   0),
        0u)
        << json;
    EXPECT_NE(json.find("\"fail\": 1"), std::string::npos);
}

TEST(SourceCheck, RxSourceNamesTheSlotItReads) {
    const struct {
        const char* reply;
        const char* read;
        const char* origin;
    } rows[] = {{"sink", "sink_h", "Rx EDID, the attached sink's \"TV\""},
                {"d3", "d3", "Rx EDID, default slot d3 \"TV\""},
                {"c10", "c10", "Rx EDID, user slot c10 \"TV\""},
                {"c11", "", "Rx EDID, unknown source \"c11\""},
                {"", "", "Rx EDID, unknown source \"\""}};
    for (const auto& r : rows) {
        EXPECT_EQ(rx_edid_read_source(r.reply), r.read) << r.reply;
        EXPECT_EQ(rx_edid_origin(r.reply, "TV"), r.origin) << r.reply;
    }
}

}  // namespace
}  // namespace t27
