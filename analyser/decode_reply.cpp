#include "analyser/decode_reply.h"

#include <array>
#include <string_view>

#include "analyser/commands.h"
#include "analyser/reply_rules.h"
#include "analyser/value_text.h"
#include "protocol/command_table.h"

namespace t27 {

namespace {

using namespace cmd;
using rules::Decoding;
using rules::Rule;

// Replies shown as they come (or in upper case) in one control. A cell of -1
// means `control` is a single label; otherwise it names a control array.
struct CopyRule {
    int index;
    bool from_p1;
    bool upper;
    std::string_view control;
    int cell;
};

constexpr CopyRule copy_rules[] = {
    // Source side, System view.
    {sd_5v, false, false, "lab_source_5vx", -1},
    {sd_ckdt, false, false, "lab_source_clockx", -1},
    {sd_scdt, false, false, "lab_source_syncx", -1},
    {sd_tmds_format, false, true, "lab_source_formatx", -1},
    // The unit's input and output.
    {rx_hotplug_q, true, false, "lab_v4_rx_hotplugx", -1},
    {rx_sense_q, true, false, "lab_v4_rx_sensex", -1},
    {edid_model_rx, false, false, "lab_v4_rx_edid4x", -1},
    {edid_native_rx, false, false, "lab_v4_rx_edid2x", -1},
    {edid_type_rx, false, false, "lab_v4_rx_edidx", -1},
    {color_space_q, true, false, "lab_v4_tx_cscx", -1},
    {deep_color_q, true, false, "lab_v4_tx_dcx", -1},
    {timingx_q, true, false, "lab_v4_reso_outx", -1},
    {tmds_format_q, true, true, "lab_v4_tx_formatx", -1},
    {tmds_sw_q, true, false, "lab_v4_outputx", -1},
    {hdr_sw_q, true, false, "lab_v4_out_hdrx", -1},
    // Sink side.
    {kd_hotplug, false, false, "lab_sink_rx_hotplugx", -1},
    {kd_rsense, false, false, "lab_sink_rx_sensex", -1},
    {edid_model_sink, false, false, "lab_sink_rx_edid4x", -1},
    {edid_native_sink, false, false, "lab_sink_rx_edid2x", -1},
    {edid_type_sink, false, false, "lab_sink_rx_edidx", -1},
    // Video Timing view.
    {sd_tmds_clock, false, false, video_cell, 1},
    {sd_ha, false, false, video_cell, 6},
    {sd_hbp, false, false, video_cell, 7},
    {sd_hsw, false, false, video_cell, 8},
    {sd_hfp, false, false, video_cell, 9},
    {sd_hvs_offset1, false, false, video_cell, 11},
    {sd_hvs_offset2, false, false, video_cell, 12},
    {sd_va, false, false, video_cell, 16},
    {sd_vbp, false, false, video_cell, 17},
    {sd_vsw, false, false, video_cell, 18},
    {sd_vfp, false, false, video_cell, 19},
    {sd_vsp, false, false, video_cell, 20},
    // Audio Timing view.
    {sd_acr, false, false, audio_cell, 2},
    {sd_acr_n, false, false, audio_cell, 3},
    {sd_acr_cts, false, false, audio_cell, 4},
    // HDCP & SCDC view, analyser mode then pattern mode.
    {sd_hdcp_aksv, false, false, hdcp_cell, 1},
    {sd_hdcp_bksv, false, false, hdcp_cell, 3},
    {sd_hdcp_rxid, false, false, hdcp_cell, 4},
    {sd_scdc_source_ver, false, false, hdcp_cell, 5},
    {sd_scdc_scr_enable, false, false, hdcp_cell, 6},
    {sd_scdc_sink_ver, false, false, hdcp_cell, 8},
    {sd_scdc_scr_status, false, false, hdcp_cell, 9},
    {kd_hdcp_aksv, false, false, hdcp_cell, 1},
    {kd_hdcp_bksv, false, false, hdcp_cell, 3},
    {kd_hdcp_rxid, false, false, hdcp_cell, 4},
    {kd_scdc_source_ver, false, false, hdcp_cell, 5},
    {kd_scdc_scr_enable, false, false, hdcp_cell, 6},
    {kd_scdc_sink_ver, false, false, hdcp_cell, 8},
    {kd_scdc_scr_status, false, false, hdcp_cell, 9},
};

struct RuleEntry {
    int index;
    Rule rule;
};

constexpr RuleEntry special_rules[] = {
    {sd_timingx, rules::source_timing},
    {sd_hdcp, rules::source_hdcp},
    {sd_asp, rules::source_asp},
    {sd_hbr, rules::source_hbr},
    {sd_chs_code, rules::source_chs_code},
    {sd_avi, rules::packet_avi},
    {sd_gcp, rules::packet_gcp},
    {sd_aif, rules::packet_aif},
    {sd_spd, rules::packet_spd},
    {sd_vsi, rules::packet_vsi},
    {sd_drmi, rules::packet_drm},
    {sd_pixel_clock, rules::pixel_clock},
    {sd_data_rate, rules::data_rate},
    {sd_ht, rules::h_total},
    {sd_hsp, rules::h_sync_polarity},
    {sd_vt, rules::v_total},
    {sd_scan, rules::scan_mode},
    {sd_asp_pll, rules::asp_pll},
    {sd_asp_fifo, rules::asp_fifo},
    {sd_asp_layout, rules::asp_layout},
    {sd_asp_ch, rules::asp_channels},
    {sd_chs_type, rules::chs_type},
    {sd_chs_sr, rules::chs_sample_rate},
    {sd_chs_ss, rules::chs_sample_size},
    {edid_manuf_rx, rules::rx_edid_manufacturer},
    {hdcp_in_sw_q, rules::hdcp_in_switch},
    {hdcp_in_ver_q, rules::hdcp_in_version},
    {hdcp_out_sw_q, rules::hdcp_out_switch},
    {hdcp_out_ver_q, rules::hdcp_out_version},
    {rx_scdc_q, rules::rx_scdc},
    {pattern_q, rules::pattern_number},
    {audio_mute_q, rules::audio_mute},
    {audio_source_q, rules::audio_source},
    {audio_ch_q, rules::audio_channels},
    {edid_manuf_sink, rules::sink_edid_manufacturer},
    {kd_hdcp, rules::sink_hdcp},
    {kd_scdc, rules::sink_scdc},
};

constexpr int cable_entries[] = {cable_level_q, cable_result_q, cable_run_q,    cable_time_q,
                                 timer_day_q,   timer_hour_q,   timer_minute_q, timer_second_q};

// The inputs of the rules that read state or a caption another reply wrote.
struct RuleInputs {
    int index;
    std::array<int, 3> inputs;  // unused places hold -1
};

constexpr RuleInputs rule_inputs[] = {
    // The frequencies are worked out from the clock and the totals.
    {sd_hsp, {sd_pixel_clock, sd_ht, -1}},
    {sd_scan, {sd_pixel_clock, sd_ht, sd_vt}},
    // The audio label is written by three replies, each looking at what the
    // others left; the gated audio items follow "asp" and "hbr".
    {sd_asp, {sd_hbr, sd_chs_code, -1}},
    {sd_hbr, {sd_asp, sd_chs_code, -1}},
    {sd_chs_code, {sd_asp, sd_hbr, -1}},
    {sd_asp_pll, {sd_asp, sd_hbr, -1}},
    {sd_asp_fifo, {sd_asp, sd_hbr, -1}},
    {sd_asp_layout, {sd_asp, sd_hbr, -1}},
    {sd_asp_ch, {sd_asp, sd_hbr, -1}},
    {sd_chs_type, {sd_asp, sd_hbr, -1}},
    {sd_chs_sr, {sd_asp, sd_hbr, -1}},
    {sd_chs_ss, {sd_asp, sd_hbr, -1}},
    {hdcp_in_sw_q, {hdcp_in_ver_q, -1, -1}},
    {hdcp_in_ver_q, {hdcp_in_sw_q, -1, -1}},
    {hdcp_out_ver_q, {hdcp_out_sw_q, -1, -1}},
    {audio_mute_q, {audio_source_q, -1, -1}},
    {audio_source_q, {audio_mute_q, -1, -1}},
    {audio_ch_q, {audio_mute_q, audio_source_q, -1}},
};

// What to do for each command-table index, looked up once per reply.
struct Dispatch {
    const CopyRule* copy = nullptr;
    Rule rule = nullptr;
    bool cable = false;
};

const std::array<Dispatch, command_table_size>& dispatch_table() {
    static const auto table = [] {
        std::array<Dispatch, command_table_size> t{};
        for (const CopyRule& c : copy_rules) t[static_cast<std::size_t>(c.index)].copy = &c;
        for (const RuleEntry& r : special_rules) t[static_cast<std::size_t>(r.index)].rule = r.rule;
        for (int i : cable_entries) t[static_cast<std::size_t>(i)].cable = true;
        return t;
    }();
    return table;
}

void apply_copy(const CopyRule& c, Decoding& d) {
    const std::string& value = c.from_p1 ? d.p1() : d.p2();
    std::string shown = c.upper ? upper_text(value) : value;
    if (c.cell < 0) {
        d.text(c.control, std::move(shown));
    } else {
        d.cell(c.control, c.cell, std::move(shown));
    }
}

}  // namespace

std::span<const int> reply_inputs(int index) {
    for (const RuleInputs& r : rule_inputs) {
        if (r.index != index) continue;
        std::size_t n = 0;
        while (n < r.inputs.size() && r.inputs[n] >= 0) ++n;
        return {r.inputs.data(), n};
    }
    return {};
}

DisplayUpdates decode_reply(int index, const PollReply& reply, const DecodeContext& context,
                            AnalyserState& state) {
    DisplayUpdates out;
    if (index < 0 || index >= command_table_size) return out;
    const Dispatch& entry = dispatch_table()[static_cast<std::size_t>(index)];
    if (entry.cable) {
        out.cable_reply = true;
        if (context.cable_reply_show) context.cable_reply_show(reply.p1);
        return out;
    }
    Decoding d{reply, context, state, out};
    if (entry.copy != nullptr) apply_copy(*entry.copy, d);
    if (entry.rule != nullptr) entry.rule(d);
    return out;
}

}  // namespace t27
