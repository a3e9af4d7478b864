#include "analyser/source_check.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "analyser/commands.h"
#include "analyser/packet_bytes.h"
#include "analyser/packet_texts.h"
#include "common/json_out.h"
#include "edid/base_block.h"
#include "edid/edid_files.h"
#include "edid/unit/edid_items.h"
#include "edid/edit/edit_field_make.h"
#include "edid/edit/edit_ops.h"
#include "edid/edit/edit_schema.h"
#include "edid/edit/timing_table.h"
#include "edid/unit/unit_exchange.h"
#include "protocol/unit_identity.h"

namespace t27 {

namespace {

using namespace cmd;

// ---- the source --------------------------------------------------------------

const std::string& item(const SourceSignal& s, const char* name) {
    static const std::string none;
    auto it = s.items.find(name);
    return it == s.items.end() ? none : it->second;
}

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// A whole number, or not_signalled for "None", "0" and anything else.
long long positive_number(const std::string& text) {
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    return end != text.c_str() && *end == '\0' && v > 0 ? v : not_signalled;
}

// "48", "44.1", "48 kHz": kHz as the unit and the analyser write them.
int rate_hz_of_khz_text(const std::string& text) {
    char* end = nullptr;
    const double khz = std::strtod(text.c_str(), &end);
    // Nothing a unit measures comes near 10 MHz; "inf" and "nan" are no rate.
    if (end == text.c_str() || !(khz > 0 && khz < 10000)) return not_signalled;
    return static_cast<int>(std::lround(khz * 1000));
}

// " 2" from the audio InfoFrame; "Refer to stream header" says nothing.
int channels_of_text(const std::string& text) {
    const std::size_t digits = text.find_first_not_of(' ');
    if (digits == std::string::npos) return not_signalled;
    const long long n = positive_number(text.substr(digits));
    return n > 0 ? static_cast<int>(n) : not_signalled;
}

// "2:SMPTE ST 2084[2]" -> 2; "Reserved" and an empty text say nothing.
int eotf_of_text(const std::string& text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos) return not_signalled;
    if (text.compare(0, colon, "0") == 0) return 0;
    const long long n = positive_number(text.substr(0, colon));
    return n > 0 ? static_cast<int>(n) : not_signalled;
}

// Audio clock regeneration: 128 fs = f_TMDS N / CTS.
int acr_rate_hz(long long tmds_khz, long long n, long long cts) {
    if (tmds_khz <= 0 || n <= 0 || cts <= 0) return not_signalled;
    const double hz = static_cast<double>(tmds_khz) * 1000.0 * static_cast<double>(n) /
                      (128.0 * static_cast<double>(cts));
    // To the nearest rate of the family a descriptor can name.
    constexpr int rates[] = {32000, 44100, 48000, 88200, 96000, 176400, 192000};
    for (int r : rates)
        if (std::fabs(hz - r) < r * 0.005) return r;
    return static_cast<int>(std::lround(hz));
}

// ---- texts -------------------------------------------------------------------

std::string mhz_text(long long khz) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3f MHz", static_cast<double>(khz) / 1000.0);
    return buf;
}

std::string vic_text(int vic) { return vic_label(vic); }

std::string list_text(const std::vector<int>& values, std::size_t at_most = 12) {
    std::string s;
    for (std::size_t i = 0; i < values.size() && i < at_most; ++i)
        s += (i ? " " : "") + std::to_string(values[i]);
    if (values.size() > at_most) s += " ...";
    return s.empty() ? "none" : s;
}

const char* const colour_space_names[] = {"RGB",         "YCbCr 4:2:2", "YCbCr 4:4:4",
                                          "YCbCr 4:2:0", "IDO-defined", "reserved"};

std::string colour_space_text(int n) {
    return n >= 0 && n <= 5 ? colour_space_names[n] : "reserved";
}

constexpr int y420 = 3;

bool timing_matches(const SinkTiming& a, const SinkTiming& b) {
    if (a.h_active != b.h_active || a.v_active != b.v_active || a.interlaced != b.interlaced)
        return false;
    // 59.94 and 60 are one format to a sink; so is a rate rounded to the Hz.
    return b.rate_hz > 0 && std::fabs(a.rate_hz - b.rate_hz) <= b.rate_hz * 0.012;
}

// "1920x1080p60", "720x480p59.94", "1920x1080i50"; anything else is no
// timing, a number too big for its field included.
std::optional<SinkTiming> measured_timing(const std::string& text) {
    SinkTiming t;
    const char* p = text.data();
    const char* const end = p + text.size();
    auto number = [&](int& out) {
        const auto [next, ec] = std::from_chars(p, end, out);
        if (ec != std::errc() || out <= 0) return false;
        p = next;
        return true;
    };
    if (!number(t.h_active) || p == end || *p++ != 'x' || !number(t.v_active) || p == end)
        return std::nullopt;
    const char scan = *p++;
    if (scan != 'p' && scan != 'i') return std::nullopt;
    t.interlaced = scan == 'i';
    const auto [next, ec] = std::from_chars(p, end, t.rate_hz);
    if (ec != std::errc() || next != end || !(t.rate_hz > 0 && t.rate_hz < 1000))
        return std::nullopt;
    return t;
}

// Where the EDID declares this timing, or empty.
std::string declared_as(const SinkTiming& want, const SinkCaps& k) {
    if (want.h_active == 640 && want.v_active == 480 && !want.interlaced &&
        std::fabs(want.rate_hz - 60) < 0.8)
        return "640x480p60: every sink";
    for (const SinkTiming& t : k.timings)
        if (timing_matches(t, want)) return t.from;
    for (int vic : k.vics)
        if (const std::optional<SinkTiming> t = vic_timing(vic); t && timing_matches(*t, want))
            return "VIC " + std::to_string(vic) + " in the Video Data Block";
    return {};
}

std::string declared_formats(const SinkCaps& k) {
    std::string s = "VICs " + list_text(k.vics);
    if (!k.timings.empty()) s += "; " + std::to_string(k.timings.size()) + " other timings";
    return s;
}

// HDMI VICs 1-4 and the CTA VICs of the same formats.
int cta_vic_of_hdmi_vic(int hdmi_vic) {
    constexpr int cta[] = {0, 95, 94, 93, 98};
    return hdmi_vic >= 1 && hdmi_vic <= 4 ? cta[hdmi_vic] : 0;
}

bool contains(const std::vector<int>& v, int x) {
    return std::find(v.begin(), v.end(), x) != v.end();
}

// ---- the rules ---------------------------------------------------------------

RuleResult na(std::string source, std::string edid = {}) {
    return {Verdict::not_applicable, std::move(source), std::move(edid)};
}
RuleResult verdict(bool ok, std::string source, std::string edid) {
    return {ok ? Verdict::pass : Verdict::fail, std::move(source), std::move(edid)};
}

RuleResult video_format(const SignalFacts& s, const SinkCaps& k) {
    const bool is420 = s.avi && s.color_space == y420;
    if (s.avi && s.vic > 0) {
        const std::string src = vic_text(s.vic);
        if (s.vic == 1) return verdict(true, src, "640x480p60: every sink");
        if (contains(k.vics, s.vic)) return verdict(true, src, "in the Video Data Block");
        if (is420 && k.y420_only.count(s.vic))
            return verdict(true, src, "in the YCbCr 4:2:0 Video Data Block");
        if (const std::optional<SinkTiming> t = vic_timing(s.vic)) {
            const std::string at = declared_as(*t, k);
            if (!at.empty()) return verdict(true, src, at);
        }
        return verdict(false, src, declared_formats(k));
    }
    if (s.vsi && cta_vic_of_hdmi_vic(s.hdmi_vic)) {
        const std::string src = "HDMI VIC " + std::to_string(s.hdmi_vic);
        if (contains(k.hdmi_vics, s.hdmi_vic))
            return verdict(true, src, "HDMI VIC in the HDMI vendor block");
        if (contains(k.vics, cta_vic_of_hdmi_vic(s.hdmi_vic)))
            return verdict(true, src,
                           "as VIC " + std::to_string(cta_vic_of_hdmi_vic(s.hdmi_vic)) +
                               " in the Video Data Block");
        return verdict(false, src, "HDMI VICs " + list_text(k.hdmi_vics));
    }
    const std::optional<SinkTiming> t = measured_timing(s.timing);
    if (!t) return na(s.timing.empty() ? "no timing measured" : s.timing);
    const std::string at = declared_as(*t, k);
    return verdict(!at.empty(), s.timing + " (no VIC)", at.empty() ? declared_formats(k) : at);
}

RuleResult y420_format(const SignalFacts& s, const SinkCaps& k) {
    if (!s.avi || s.color_space != y420)
        return na(s.avi ? colour_space_text(s.color_space) : "no AVI");
    const std::string src = "4:2:0 " + (s.vic ? vic_text(s.vic) : std::string("without a VIC"));
    if (k.y420_only.count(s.vic)) return verdict(true, src, "in the YCbCr 4:2:0 Video Data Block");
    if (k.y420_also.count(s.vic)) return verdict(true, src, "marked in the 4:2:0 Capability Map");
    std::vector<int> all(k.y420_only.begin(), k.y420_only.end());
    all.insert(all.end(), k.y420_also.begin(), k.y420_also.end());
    return verdict(false, src, "4:2:0 VICs " + list_text(all));
}

RuleResult colour_space(const SignalFacts& s, const SinkCaps& k) {
    if (!s.avi) return na("no AVI");
    const std::string src = colour_space_text(s.color_space);
    switch (s.color_space) {
        case 0:
            return verdict(true, src, "RGB: every sink");
        case 1:
            return verdict(k.ycbcr422, src, k.ycbcr422 ? "YCbCr 4:2:2 declared" : "no YCbCr 4:2:2");
        case 2:
            return verdict(k.ycbcr444, src, k.ycbcr444 ? "YCbCr 4:4:4 declared" : "no YCbCr 4:4:4");
        case y420:
            return na(src, "see YCbCr 4:2:0");
        default:
            return verdict(false, src, "no sink takes it");
    }
}

RuleResult colorimetry(const SignalFacts& s, const SinkCaps& k) {
    if (!s.avi || s.colorimetry != 3)
        return na(s.avi ? avi_colorimetry_text(s.colorimetry) : "no AVI");
    const int e = s.ext_colorimetry;
    const std::string src = avi_ext_colorimetry_text(e).empty()
                                ? "extended code " + std::to_string(e)
                                : avi_ext_colorimetry_text(e);
    // The Colorimetry Data Block's bit for each extended code; BT.2020
    // code 6 is RGB or YCbCr by the colour space.
    int bit = e >= 0 && e <= 5 ? e : e == 6 ? (s.color_space == 0 ? 7 : 6) : -1;
    constexpr const char* names[] = {"xvYCC601", "xvYCC709",   "sYCC601",   "opYCC601",
                                     "opRGB",    "BT2020cYCC", "BT2020YCC", "BT2020RGB"};
    if (bit < 0) return verdict(false, src, "reserved: no sink declares it");
    if (!k.colorimetry_block) return verdict(false, src, "no Colorimetry Data Block");
    const bool ok = (k.colorimetry_bits >> bit) & 1;
    return verdict(ok, src, std::string(ok ? "" : "no ") + names[bit]);
}

RuleResult quantisation(const SignalFacts& s, const SinkCaps& k) {
    if (!s.avi) return na("no AVI");
    if (s.color_space == 0) {
        constexpr const char* q[] = {"default", "limited", "full", "reserved"};
        const std::string src = std::string("RGB ") + q[s.rgb_quant & 3] + " range";
        if (s.rgb_quant == 0) return na(src);
        if (s.rgb_quant == 3) return verdict(false, src, "reserved: no sink declares it");
        return verdict(k.qs, src, k.qs ? "QS set" : "QS clear or no Video Capability Data Block");
    }
    constexpr const char* yq[] = {"limited", "full", "reserved", "reserved"};
    const std::string src = std::string("YCC ") + yq[s.ycc_quant & 3] + " range";
    if (s.ycc_quant == 0) return na(src);
    if (s.ycc_quant >= 2) return verdict(false, src, "reserved: no sink declares it");
    return verdict(k.qy, src, k.qy ? "QY set" : "QY clear or no Video Capability Data Block");
}

RuleResult deep_colour(const SignalFacts& s, const SinkCaps& k) {
    if (!s.gcp) return na("no GCP");
    if (s.depth == 0 || s.depth == 8) return na(s.depth ? "24-bit" : "depth not indicated");
    const std::string space = s.avi ? colour_space_text(s.color_space) : "RGB";
    const std::string src = s.depth == packet_none_marker
                                ? "reserved depth"
                                : std::to_string(s.depth * 3) + "-bit " + space;
    if (s.depth == packet_none_marker) return verdict(false, src, "reserved: no sink declares it");
    if (s.avi && s.color_space == 1) return na(src, "4:2:2 takes 12 bits at the 8-bit clock");
    const int bit = s.depth == 10 ? 0 : s.depth == 12 ? 1 : s.depth == 16 ? 2 : -1;
    if (bit < 0) return verdict(false, src, "no such depth");
    const std::string dc = std::string("DC_") + (bit == 0 ? "30" : bit == 1 ? "36" : "48") + "bit";
    if (s.avi && s.color_space == y420) {
        const bool ok = (k.dc420_bits >> bit) & 1;
        return verdict(ok, src,
                       std::string(ok ? "HF-VSDB " : "no HF-VSDB ") + "DC_420_" + dc.substr(3));
    }
    if (!k.hdmi) return verdict(false, src, "no HDMI VSDB");
    const bool depth_ok = bit == 0 ? k.dc30 : bit == 1 ? k.dc36 : k.dc48;
    const bool ycc444 = s.avi && s.color_space == 2;
    if (!depth_ok) return verdict(false, src, "no " + dc);
    if (ycc444 && !k.dc_y444) return verdict(false, src, dc + " without DC_Y444");
    return verdict(true, src, dc + (ycc444 ? " and DC_Y444" : ""));
}

RuleResult tmds_clock(const SignalFacts& s, const SinkCaps& k) {
    if (s.tmds_khz <= 0) return na("no clock measured");
    const std::string src = mhz_text(s.tmds_khz);
    // A sink without an HDMI vendor block is held to a single DVI link.
    const int limit = k.hdmi ? k.max_tmds_mhz : 165;
    const std::string edid =
        "max " + std::to_string(limit) + " MHz" + (k.hdmi ? "" : " (DVI single link)");
    return verdict(s.tmds_khz <= limit * 1000LL, src, edid);
}

RuleResult scrambling(const SignalFacts& s, const SinkCaps& k) {
    constexpr long long scrambling_above_khz = 340000;
    const bool needed = s.tmds_khz > scrambling_above_khz;
    if (!s.scrambled && !needed) return na("not scrambled");
    const std::string src =
        std::string(s.scrambled ? "scrambled" : "not scrambled") + " at " + mhz_text(s.tmds_khz);
    const bool ok = k.hf && k.scdc;
    return verdict(ok, src, !k.hf ? "no HF-VSDB" : k.scdc ? "SCDC_Present" : "no SCDC_Present");
}

RuleResult hdr_eotf(const SignalFacts& s, const SinkCaps& k) {
    if (!s.drm) return na("no DRM InfoFrame");
    constexpr const char* names[] = {"SDR", "HDR", "ST 2084", "HLG"};
    const std::string src =
        s.eotf >= 0 && s.eotf <= 3
            ? std::string("EOTF ") + std::to_string(s.eotf) + " " + names[s.eotf]
            : std::string("reserved EOTF");
    std::string listed;
    for (int e = 0; e < 4; ++e)
        if ((k.eotf_bits >> e) & 1) listed += std::string(listed.empty() ? "" : ", ") + names[e];
    if (!k.hdr) return verdict(false, src, "no HDR Static Metadata Data Block");
    const bool ok = s.eotf >= 0 && s.eotf <= 5 && ((k.eotf_bits >> s.eotf) & 1);
    return verdict(ok, src, "EOTFs " + (listed.empty() ? std::string("none") : listed));
}

const char* const audio_names[] = {
    "refer to stream", "L-PCM",         "AC-3",   "MPEG-1", "MP3", "MPEG-2", "AAC LC",  "DTS",
    "ATRAC",           "One Bit Audio", "E-AC-3", "DTS-HD", "MAT", "DST",    "WMA Pro", "extended"};

std::string audio_text(const SignalFacts& s) {
    std::string t =
        s.audio_coding >= 0 && s.audio_coding < 16 ? audio_names[s.audio_coding] : "bitstream";
    if (s.audio_channels > 0) t += " " + std::to_string(s.audio_channels) + " ch";
    if (s.audio_rate_hz > 0) {
        char buf[32];
        std::snprintf(buf, sizeof buf, " %g kHz", s.audio_rate_hz / 1000.0);
        t += buf;
    }
    return t;
}

int rate_bit(int hz) {
    constexpr int rates[] = {32000, 44100, 48000, 88200, 96000, 176400, 192000};
    for (int i = 0; i < 7; ++i)
        if (rates[i] == hz) return i;
    return -1;
}

bool sad_takes(const SinkAudio& a, const SignalFacts& s, bool any_bitstream) {
    const bool format_ok =
        any_bitstream ? a.format >= 2 && a.format <= 14 : a.format == s.audio_coding;
    if (!format_ok) return false;
    if (s.audio_channels > 0 && s.audio_channels > a.max_channels) return false;
    if (s.audio_rate_hz > 0) {
        const int bit = rate_bit(s.audio_rate_hz);
        if (bit < 0 || !((a.rate_mask >> bit) & 1)) return false;
    }
    return true;
}

std::string sads_text(const SinkCaps& k) {
    if (k.sads.empty()) return "no Short Audio Descriptor";
    std::string s;
    for (const SinkAudio& a : k.sads) {
        if (!s.empty()) s += ", ";
        s += std::string(a.format >= 0 && a.format < 16 ? audio_names[a.format] : "?") + " " +
             std::to_string(a.max_channels) + " ch";
    }
    return s;
}

RuleResult audio_format(const SignalFacts& s, const SinkCaps& k) {
    if (!s.audio) return na("no audio");
    if (s.hbr) return na(audio_text(s), "see HBR audio");
    const std::string src = audio_text(s);
    const bool any_bitstream = s.audio_coding == not_signalled;
    for (const SinkAudio& a : k.sads)
        if (sad_takes(a, s, any_bitstream))
            return verdict(true, src,
                           std::string(audio_names[a.format]) + " " +
                               std::to_string(a.max_channels) + " ch descriptor");
    // Basic audio: two-channel L-PCM at 32, 44.1 and 48 kHz.
    if (k.basic_audio && s.audio_coding == 1 && s.audio_channels <= 2 &&
        (s.audio_rate_hz == not_signalled || rate_bit(s.audio_rate_hz) <= 2))
        return verdict(true, src, "basic audio");
    return verdict(false, src, sads_text(k));
}

RuleResult hbr_audio(const SignalFacts& s, const SinkCaps& k) {
    if (!s.hbr) return na(s.audio ? "no HBR" : "no audio");
    const std::string src = "HBR " + audio_text(s);
    for (const SinkAudio& a : k.sads) {
        // DTS-HD and MAT are the formats that need the high bit rate.
        if (a.format != 11 && a.format != 12) continue;
        if (s.audio_coding > 1 && s.audio_coding != a.format) continue;
        if (s.audio_rate_hz > 0 && rate_bit(s.audio_rate_hz) >= 0 &&
            !((a.rate_mask >> rate_bit(s.audio_rate_hz)) & 1))
            continue;
        return verdict(true, src, std::string(audio_names[a.format]) + " descriptor");
    }
    return verdict(false, src, sads_text(k));
}

RuleResult dvi_sink(const SignalFacts& s, const SinkCaps& k) {
    if (k.hdmi) return na(s.hdmi_mode ? "HDMI" : "DVI", "HDMI VSDB: an HDMI sink");
    std::string sent;
    auto add = [&sent](bool on, const char* what) {
        if (on) sent += std::string(sent.empty() ? "" : ", ") + what;
    };
    add(s.hdmi_mode, "HDMI mode");
    add(s.avi, "AVI");
    add(s.aif, "AIF");
    add(s.gcp, "GCP");
    add(s.vsi, "VSI");
    add(s.drm, "DRM");
    add(s.audio, "audio");
    return verdict(sent.empty(), sent.empty() ? "DVI, no InfoFrames, no audio" : sent,
                   "no HDMI VSDB: a DVI sink");
}

RuleResult avi_infoframe(const SignalFacts& s, const SinkCaps& k) {
    if (!k.hdmi) return na(s.avi ? "AVI" : "no AVI", "no HDMI VSDB: a DVI sink");
    return verdict(s.avi, s.avi ? "AVI" : (s.hdmi_mode ? "no AVI" : "DVI mode, no AVI"),
                   "HDMI VSDB: an HDMI sink");
}

RuleResult three_d(const SignalFacts& s, const SinkCaps& k) {
    if (s.three_d.empty()) return na("2D");
    if (!k.hdmi) return verdict(false, "3D " + s.three_d, "no HDMI VSDB");
    return verdict(k.three_d, "3D " + s.three_d, k.three_d ? "3D_present" : "no 3D_present");
}

}  // namespace

// ---- the source ----------------------------------------------------------------

std::vector<int> source_check_poll_list() {
    return {sd_5v,  sd_scdt,  sd_timingx, sd_tmds_format, sd_tmds_clock, sd_scdc_scr_enable,
            sd_avi, sd_gcp,   sd_vsi,     sd_drmi,        sd_aif,        sd_asp,
            sd_hbr, sd_acr_n, sd_acr_cts, sd_asp_ch,      sd_chs_code,   sd_chs_sr};
}

void source_signal_take(SourceSignal& signal, int index, const PollReply& reply) {
    if (index < sd_5v || index > sd_vt || reply.p1 == "None") return;
    signal.items[reply.p1] = reply.p2;
    // The packets go through the analyser's decoders as the Packet view
    // decodes them; the other replies are kept as the unit sent them.
    DecodeContext ctx;
    ctx.view = view_packet;
    ctx.task_mode = task_analyser;
    decode_reply(index, reply, ctx, signal.analyser);
}

SignalFacts signal_facts(const SourceSignal& sig) {
    SignalFacts s;
    const AnalyserState& a = sig.analyser;
    const PacketFields& p = a.packet;
    s.signal = lower(item(sig, "scdt")) == "on" && lower(item(sig, "5v")) != "off";
    s.hdmi_mode = lower(item(sig, "tmds_format")) == "hdmi";
    s.timing = item(sig, "timingx");
    if (lower(s.timing) == "none") s.timing.clear();
    s.tmds_khz = std::max(0LL, positive_number(item(sig, "tmds_clock")));
    s.scrambled = lower(item(sig, "scdc_scr_enable")) == "on";

    // A packet counts once its reply has been heard in this check.
    auto present = [&sig](const char* name, bool flag) {
        return sig.items.count(name) && flag && packet_present(item(sig, name));
    };
    s.avi = present("avi", a.AviPresent);
    s.aif = present("aif", a.AifPresent);
    s.gcp = present("gcp", a.GcpPresent);
    s.vsi = present("vsi", a.VsiPresent);
    s.drm = present("drmi", a.DrmiPresent);
    if (s.avi) {
        s.color_space = p.ColorSpace;
        s.colorimetry = p.Colorimetry;
        s.ext_colorimetry = p.ExtColorimetry;
        s.vic = p.Vic;
        // The analyser does not keep the quantisation ranges: PB3 bits 3-2
        // and PB5 bits 7-6 of the same bytes.
        const PacketBytes b = parse_packet_bytes(packet_string(item(sig, "avi")));
        s.rgb_quant = (b[6] >> 2) & 3;
        s.ycc_quant = (b[8] >> 6) & 3;
    }
    if (s.gcp) s.depth = p.ColorDepth;
    if (s.vsi) {
        s.hdmi_vic = p.HdmiVic;
        if (p.VideoFormatText == "3D Format") s.three_d = p.ThreeDStructureText;
    }
    if (s.drm) s.eotf = eotf_of_text(p.EotfText);

    s.hbr = lower(item(sig, "hbr")) == "on";
    s.audio = s.hdmi_mode && (s.hbr || lower(item(sig, "asp")) == "on");
    if (s.audio) {
        const std::string chs = lower(item(sig, "chs_code"));
        const int aif_coding = s.aif ? aif_coding_type_code(p.CodingTypeText) : not_signalled;
        s.audio_coding = chs == "lpcm" && !s.hbr ? 1 : aif_coding > 0 ? aif_coding : not_signalled;
        if (s.aif) s.audio_channels = channels_of_text(p.ChannelCountText);
        if (s.audio_channels == not_signalled && s.audio_coding == 1)
            s.audio_channels = static_cast<int>(positive_number(item(sig, "asp_ch")));
        // Channel status first for L-PCM (its InfoFrame may leave the rate to
        // the stream), the InfoFrame first for HBR, whose channel status
        // names four times the rate; audio clock regeneration last.
        const int chs_rate = rate_hz_of_khz_text(item(sig, "chs_sr"));
        const int aif_rate = s.aif ? rate_hz_of_khz_text(p.SampleRateText) : not_signalled;
        if (s.hbr)
            s.audio_rate_hz = aif_rate > 0 ? aif_rate : chs_rate > 0 ? chs_rate / 4 : not_signalled;
        else
            s.audio_rate_hz = chs_rate > 0 ? chs_rate : aif_rate;
        if (s.audio_rate_hz <= 0)
            s.audio_rate_hz = acr_rate_hz(s.tmds_khz, positive_number(item(sig, "acr_n")),
                                          positive_number(item(sig, "acr_cts")));
    }
    return s;
}

// ---- the rules -----------------------------------------------------------------

const char* verdict_text(Verdict v) {
    switch (v) {
        case Verdict::pass:
            return "PASS";
        case Verdict::fail:
            return "FAIL";
        case Verdict::not_applicable:
            break;
    }
    return "n.a.";
}

const std::vector<SourceRule>& source_rules() {
    // clang-format off
    static const std::vector<SourceRule> rules = {
        {"Video format", "CTA-861-G Video Data Block, detailed/standard/established timings, 640x480p in every sink; HDMI 1.4b HDMI_VIC", video_format},
        {"YCbCr 4:2:0", "CTA-861-G YCbCr 4:2:0 Video Data Block and 4:2:0 Capability Map Data Block", y420_format},
        {"Colour space", "CTA-861-G CTA extension header: YCbCr 4:4:4 and 4:2:2 support", colour_space},
        {"Colorimetry", "CTA-861-G Colorimetry Data Block", colorimetry},
        {"Quantisation range", "CTA-861-G Video Capability Data Block: QS, QY", quantisation},
        {"Deep colour", "HDMI 1.4b VSDB DC_30bit/DC_36bit/DC_48bit, DC_Y444; HDMI 2.0 HF-VSDB DC_420", deep_colour},
        {"TMDS clock", "HDMI 1.4b VSDB Max_TMDS_Clock; HDMI 2.0 HF-VSDB Max_TMDS_Character_Rate", tmds_clock},
        {"Scrambling", "HDMI 2.0 HF-VSDB SCDC_Present; scrambling above 340 MHz", scrambling},
        {"HDR EOTF", "CTA-861-G HDR Static Metadata Data Block; DRM InfoFrame", hdr_eotf},
        {"Audio format", "CTA-861-G Short Audio Descriptors; basic audio", audio_format},
        {"HBR audio", "HDMI 1.4b HBR audio packets; CTA-861-G Short Audio Descriptors (DTS-HD, MAT)", hbr_audio},
        {"DVI sink", "HDMI 1.4b: a sink without an HDMI VSDB is DVI: no InfoFrames, no audio", dvi_sink},
        {"AVI InfoFrame", "HDMI 1.4b, CTA-861-G: a source sends an HDMI sink an AVI InfoFrame", avi_infoframe},
        {"3D", "HDMI 1.4b VSDB 3D_present", three_d},
    };
    // clang-format on
    return rules;
}

std::vector<SourceCheckRow> source_check_run(const SignalFacts& s, const SinkCaps& k) {
    std::vector<SourceCheckRow> rows;
    for (const SourceRule& r : source_rules())
        rows.push_back({r.name, r.clause, s.signal ? r.check(s, k) : na("no signal")});
    return rows;
}

bool source_check_failed(const std::vector<SourceCheckRow>& rows) {
    return std::any_of(rows.begin(), rows.end(),
                       [](const SourceCheckRow& r) { return r.result.verdict == Verdict::fail; });
}

}  // namespace t27
