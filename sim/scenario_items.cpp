// The status items of a scenario. Everything is computed from the
// description: the timing from the VIC, the TMDS clock from the pixel clock
// and the pixel encoding, scrambling from the TMDS clock, audio clock
// regeneration from the TMDS clock and the audio rate.
#include "sim/scenario_items.h"

#include <cmath>
#include <cstdio>

#include "sim/cta_timings.h"

namespace t27::sim {

namespace {

// The unit's own receiver identities; they do not depend on the source.
constexpr const char* unit_bksv = "5A 3C 96 E1 0F";
constexpr const char* unit_receiver_id = "8E 4D 21 7A 03";
// What an HDCP 1.4 source presents (20 ones, as a KSV must have).
constexpr const char* source_aksv = "14 F7 5A C3 0B";

// Above this TMDS character rate a source must scramble.
constexpr std::int64_t scrambling_above_khz = 340000;

// Audio clock regeneration: the N the HDMI tables recommend for a rate, and
// the CTS that goes with it at a TMDS clock.
struct RecommendedN {
    int rate_hz;
    int n;
};
constexpr RecommendedN recommended_n[] = {{32000, 4096},  {44100, 6272},  {48000, 6144},
                                          {88200, 12544}, {96000, 12288}, {176400, 25088},
                                          {192000, 24576}};

int acr_n_for(int rate_hz) {
    for (const RecommendedN& r : recommended_n)
        if (r.rate_hz == rate_hz) return r.n;
    return 128 * rate_hz / 1000;
}

// 128 * fs = f_TMDS * N / CTS, rounded: for the 44.1 kHz family the unit
// measures an average that is not a whole number.
std::int64_t acr_cts_for(std::int64_t tmds_khz, int n, int rate_hz) {
    if (rate_hz <= 0) return 0;
    const long double cts = static_cast<long double>(tmds_khz) * 1000 * n / (128.0L * rate_hz);
    return static_cast<std::int64_t>(std::llround(cts));
}

// What the unit reports with nothing (or nothing of this kind) on its input.
SourceItems nothing_received() {
    SourceItems m;
    for (const char* off : {"5v", "ckdt", "scdt", "asp", "hbr", "acr", "avi", "aif", "spd", "gcp",
                            "vsi", "drmi", "hdcp", "scdc_scr_enable", "scdc_scr_status"})
        m[off] = "off";
    for (const char* none : {"timingx", "tmds_format", "scan", "hsp", "vsp", "chs_type", "chs_code",
                             "hdcp_aksv", "hdcp_rxid"})
        m[none] = "none";
    for (const char* zero : {"tmds_clock",  "pixel_clock",
                             "data_rate",   "ht",
                             "ha",          "hbp",
                             "hsw",         "hfp",
                             "vt",          "va",
                             "vbp",         "vsw",
                             "vfp",         "hvs_offset1",
                             "hvs_offset2", "acr_n",
                             "acr_cts",     "asp_layout",
                             "asp_ch",      "chs_sr",
                             "chs_ss",      "scdc_source_ver"})
        m[zero] = "0";
    m["asp_pll"] = "unlock";
    m["asp_fifo"] = "nor";
    m["hdcp_bksv"] = unit_bksv;
    m["scdc_sink_ver"] = "1";
    return m;
}

std::int64_t tmds_khz_of(const Scenario& s, std::int64_t pixel_khz) {
    switch (s.pixels) {
        // 4:2:2 packs up to 12 bits per component into the 8-bit clock.
        case PixelEncoding::ycbcr422:
            return pixel_khz;
        case PixelEncoding::ycbcr420:
            return pixel_khz * s.bits_per_component / 16;
        default:
            return pixel_khz * s.bits_per_component / 8;
    }
}

// "60", "50", "59.94": whole rates without decimals.
std::string rate_text(double hz) {
    char buf[32];
    if (std::fabs(hz - std::round(hz)) < 0.005)
        std::snprintf(buf, sizeof buf, "%d", static_cast<int>(std::lround(hz)));
    else
        std::snprintf(buf, sizeof buf, "%.2f", hz);
    return buf;
}

std::string kilohertz_text(int hz) {
    if (hz % 1000 == 0) return std::to_string(hz / 1000);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", hz / 1000.0);
    return buf;
}

// Returns the TMDS clock (kHz): audio clock regeneration counts against it.
std::int64_t add_video(const Scenario& s, const CtaTiming& t, SourceItems& m) {
    // Frame packing stacks both eyes, with one vertical blank between them,
    // into a frame of twice the lines at twice the pixel clock.
    const int fp = s.frame_packed_3d ? 2 : 1;
    const std::int64_t pixel_khz = static_cast<std::int64_t>(t.pixel_khz) * fp;
    const int v_total = t.v_total * fp;
    const int v_active = s.frame_packed_3d ? 2 * t.v_active + (t.v_total - t.v_active) : t.v_active;
    const double frame_hz = t.pixel_khz * 1000.0 / (static_cast<double>(t.h_total) * t.v_total);
    const std::int64_t tmds = tmds_khz_of(s, pixel_khz);

    m["timingx"] = std::to_string(t.h_active) + "x" + std::to_string(t.v_active) +
                   (t.interlaced ? "i" : "p") + rate_text(t.interlaced ? 2 * frame_hz : frame_hz);
    m["tmds_format"] = s.dvi ? "dvi" : "hdmi";
    m["tmds_clock"] = std::to_string(tmds);
    m["pixel_clock"] = std::to_string(pixel_khz);
    m["data_rate"] = std::to_string((tmds + 50) / 100);  // ten bits a character, in Mbit/s
    m["scan"] = t.interlaced ? "i" : "p";
    m["ht"] = std::to_string(t.h_total);
    m["ha"] = std::to_string(t.h_active);
    m["hbp"] = std::to_string(t.h_back);
    m["hsw"] = std::to_string(t.h_sync);
    m["hfp"] = std::to_string(t.h_front);
    m["hsp"] = t.h_sync_positive ? "pos" : "neg";
    m["vt"] = std::to_string(v_total);
    m["va"] = std::to_string(v_active);
    m["vbp"] = std::to_string(t.v_back);
    m["vsw"] = std::to_string(t.v_sync);
    m["vfp"] = std::to_string(t.v_front);
    m["vsp"] = t.v_sync_positive ? "pos" : "neg";
    // The second field's vertical sync starts half a line in.
    m["hvs_offset2"] = std::to_string(t.interlaced ? t.h_total / 2 : 0);

    const bool scrambled = tmds > scrambling_above_khz;
    m["scdc_scr_enable"] = scrambled ? "on" : "off";
    m["scdc_scr_status"] = scrambled ? "on" : "off";
    // Only a source that scrambles has reason to talk SCDC.
    m["scdc_source_ver"] = scrambled ? "1" : "0";
    return tmds;
}

void add_audio(const Scenario& s, std::int64_t tmds_khz, SourceItems& m) {
    const AudioDescription& a = s.audio;
    if (s.dvi || a.kind == AudioKind::none) return;
    const int n = acr_n_for(a.rate_hz);
    m["acr"] = "on";
    m["acr_n"] = std::to_string(n);
    m["acr_cts"] = std::to_string(acr_cts_for(tmds_khz, n, a.rate_hz));
    m["asp_pll"] = "lock";
    const bool hbr = a.kind == AudioKind::hbr;
    // A bitstream travels as two-channel IEC 61937; HBR and multichannel PCM
    // use the eight-channel layout.
    const int wire_channels = a.kind == AudioKind::compressed ? 2 : a.channels;
    m["asp"] = hbr || a.muted ? "off" : "on";
    m["hbr"] = hbr ? "on" : "off";
    m["asp_layout"] = wire_channels > 2 ? "1" : "0";
    m["asp_ch"] = std::to_string(wire_channels);
    m["chs_type"] = "c";
    m["chs_code"] = a.kind == AudioKind::lpcm ? "lpcm" : "non-lpcm";
    // An HBR stream's channel status names the four-times frame rate.
    m["chs_sr"] = kilohertz_text(hbr ? 4 * a.rate_hz : a.rate_hz);
    m["chs_ss"] = std::to_string(a.sample_bits);
}

void add_hdcp(const Scenario& s, SourceItems& m) {
    switch (s.hdcp) {
        case HdcpState::off:
            return;
        case HdcpState::v14_failing:
            m["hdcp"] = "v1.4_fail";
            m["hdcp_aksv"] = source_aksv;
            return;
        case HdcpState::v22_authenticated:
            m["hdcp"] = "v2.2_on";
            m["hdcp_rxid"] = unit_receiver_id;
            return;
    }
}

void add_packets(const Scenario& s, SourceItems& m) {
    const ScenarioPackets p = scenario_packets(s);
    auto put = [&m](const char* item, const std::vector<std::uint8_t>& bytes) {
        if (!bytes.empty()) m[item] = packet_hex(bytes);
    };
    put("avi", p.avi);
    put("aif", p.aif);
    put("spd", p.spd);
    put("gcp", p.gcp);
    put("vsi", p.vsi);
    put("drmi", p.drm);
}

}  // namespace

SourceItems scenario_items(const Scenario& s) {
    SourceItems m = nothing_received();
    if (!s.five_volt) return m;
    m["5v"] = "on";
    const std::optional<CtaTiming> t = cta_timing(s.vic);
    if (!t) return m;  // a source with power but no picture
    m["ckdt"] = "on";
    m["scdt"] = "on";
    const std::int64_t tmds_khz = add_video(s, *t, m);
    add_audio(s, tmds_khz, m);
    add_hdcp(s, m);
    add_packets(s, m);
    return m;
}

}  // namespace t27::sim
