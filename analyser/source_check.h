#pragma once
// Source check: does the source on the unit's input send only what the EDID
// the unit shows it says the sink can take? The signal side is what the
// analyser decodes from its status queries and packets; the sink side is what
// the EDID editor's model reads from the image. Each rule is one row of a
// table (name, clause, function), so the window and t27ctl print the same
// verdicts and a new rule is one more row.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "analyser/analyser_state.h"
#include "analyser/decode_reply.h"
#include "edid/edit/edit_model.h"
#include "protocol/engine.h"

namespace t27 {

// ---- the source ----------------------------------------------------------------

// The "$source_detect? " items the check needs, in a cycle's sending order:
// the packet items, then "asp"/"hbr" before the audio items they gate.
std::vector<int> source_check_poll_list();

// Everything the check has heard of the source: each item's last reported
// value, and the packets decoded by the analyser's own decoders.
struct SourceSignal {
    std::map<std::string, std::string> items;  // "tmds_clock" -> "594000"
    AnalyserState analyser;
};

// Takes an accepted reply to the poll request `index`; replies to anything
// but a "$source_detect? " query are ignored.
void source_signal_take(SourceSignal& signal, int index, const PollReply& reply);

inline constexpr int not_signalled = -1;

// The facts the rules judge, drawn from a SourceSignal. A value the source
// did not make known is not_signalled (numbers) or empty (texts).
struct SignalFacts {
    bool signal = false;     // 5 V, clock and sync
    bool hdmi_mode = false;  // TMDS in HDMI mode (data islands), not DVI
    std::string timing;      // the unit's measured format, "1920x1080p60"
    long long tmds_khz = 0;
    bool scrambled = false;

    bool avi = false, aif = false, gcp = false, vsi = false, drm = false;
    int color_space = 0;  // PacketFields::ColorSpace
    int colorimetry = 0;
    int ext_colorimetry = 0;
    int vic = 0;
    int rgb_quant = 0;  // AVI Q: 0 default, 1 limited, 2 full, 3 reserved
    int ycc_quant = 0;  // AVI YQ: 0 limited, 1 full, 2-3 reserved
    int depth = 0;      // GCP colour depth: 0 not indicated, 8-16, 254 reserved
    int hdmi_vic = packet_none_marker;
    std::string three_d;  // the VSI's 3D structure, empty for none
    int eotf = not_signalled;

    bool audio = false;  // audio sample or HBR packets
    bool hbr = false;
    int audio_coding = not_signalled;  // audio coding type code, 1 L-PCM
    int audio_channels = not_signalled;
    int audio_rate_hz = not_signalled;
};

SignalFacts signal_facts(const SourceSignal& signal);

// ---- the sink ------------------------------------------------------------------

struct SinkTiming {
    int h_active = 0, v_active = 0;  // lines per frame, both fields counted
    bool interlaced = false;
    double rate_hz = 0;  // field rate when interlaced, as the unit shows it
    std::string from;    // "detailed timing 1", "standard timing 3", ...
};

struct SinkAudio {
    int format = 0;  // audio coding type code
    int max_channels = 0;
    int rate_mask = 0;  // bit 0 32 kHz ... bit 6 192 kHz
};

// What an EDID declares that a source has to respect.
struct SinkCaps {
    bool cta = false;
    std::vector<int> vics;            // every short video descriptor, in order
    std::set<int> y420_only;          // YCbCr 4:2:0 Video Data Block
    std::set<int> y420_also;          // marked in a 4:2:0 Capability Map
    std::vector<SinkTiming> timings;  // detailed, standard and established
    bool ycbcr444 = false, ycbcr422 = false, basic_audio = false;
    bool colorimetry_block = false;
    int colorimetry_bits = 0;  // byte 2 of the Colorimetry Data Block
    bool video_capability = false;
    bool qs = false, qy = false;
    bool hdmi = false;  // an HDMI vendor block: an HDMI sink, not DVI
    bool dc30 = false, dc36 = false, dc48 = false, dc_y444 = false;
    bool three_d = false;
    std::vector<int> hdmi_vics;
    int max_tmds_mhz = 0;
    bool hf = false, scdc = false;
    int dc420_bits = 0;  // bit 0 30-bit, bit 1 36-bit, bit 2 48-bit
    bool hdr = false;
    int eotf_bits = 0;  // bit n: EOTF code n
    std::vector<SinkAudio> sads;
};

SinkCaps sink_caps(const EdidModel& model);

// A CTA VIC's timing as the sink's lists hold it; nothing for an unknown VIC.
std::optional<SinkTiming> vic_timing(int vic);

// ---- the rules -----------------------------------------------------------------

enum class Verdict { pass, fail, not_applicable };

// "PASS", "FAIL", "n.a."
const char* verdict_text(Verdict v);

struct RuleResult {
    Verdict verdict = Verdict::not_applicable;
    std::string source;  // what the source sends
    std::string edid;    // what the EDID declares
};

using SourceRuleCheck = RuleResult (*)(const SignalFacts& s, const SinkCaps& k);

struct SourceRule {
    const char* name;    // "Video format"
    const char* clause;  // the standard it rests on
    SourceRuleCheck check;
};

const std::vector<SourceRule>& source_rules();

struct SourceCheckRow {
    std::string rule;
    std::string clause;
    RuleResult result;
};

// Every rule in table order. Without a signal every rule is not applicable.
std::vector<SourceCheckRow> source_check_run(const SignalFacts& s, const SinkCaps& k);

bool source_check_failed(const std::vector<SourceCheckRow>& rows);

// The table as text: the EDID's origin, one line a rule, then the counts.
// CR LF ends every line when `crlf`.
std::string source_check_text(const std::vector<SourceCheckRow>& rows, const std::string& origin,
                              bool crlf = false);
// One JSON document on one line.
std::string source_check_json(const std::vector<SourceCheckRow>& rows, const std::string& origin);

// Where the EDID came from, for people: "Rx EDID: user slot c2 \"ABC.TV\"".
std::string rx_edid_origin(const std::string& rx_param, const std::string& slot_name);

// The EDID a check holds the source against, and where it came from; `why`
// says what went wrong when there is no model.
struct SourceCheckEdid {
    std::optional<EdidModel> model;
    std::string origin;
    std::string why;
};

// A .hex, .bin or .ddc file given by the user.
SourceCheckEdid source_check_edid_file(const std::string& path);
// The EDID the unit presents on its input: "$edid_rx?", the slot's name, then
// the slot's blocks, all as quiet transactions.
SourceCheckEdid source_check_edid_unit(Engine& engine);

// The unit's read source for the input's EDID ("sink_h", "d3", "c1") from
// the first parameter of "$edid_rx?"; empty for an answer it cannot be.
std::string rx_edid_read_source(const std::string& rx_param);

}  // namespace t27
