#include "analyser/poll_list.h"

#include "analyser/commands.h"
#include "protocol/unit_identity.h"

namespace t27 {

namespace {

using namespace cmd;

// Order matters within a cycle: the pixel clock and totals come before the
// frequencies are worked out, each HDCP switch before its version, mute and
// source before the channel count, and "asp"/"hbr" before the audio items
// they gate.
const std::vector<int> system_analyser = {
    sd_5v,          sd_ckdt,       sd_scdt,         sd_timingx,      sd_tmds_format,
    sd_avi,         sd_gcp,        sd_asp,          sd_hbr,          sd_aif,
    sd_hdcp,        sd_chs_code,   sd_drmi,         sd_vsi,          rx_hotplug_q,
    rx_sense_q,     color_space_q, deep_color_q,    edid_manuf_rx,   edid_model_rx,
    edid_native_rx, edid_type_rx,  hdcp_in_sw_q,    hdcp_in_ver_q,   hdcp_out_sw_q,
    hdcp_out_ver_q, timingx_q,     tmds_format_q,   tmds_sw_q,       rx_scdc_q,
    kd_hotplug,     kd_rsense,     edid_manuf_sink, edid_model_sink, edid_native_sink,
    edid_type_sink, kd_hdcp,       kd_scdc};

const std::vector<int> system_pattern = {
    timingx_q,       pattern_q,        color_space_q,  deep_color_q,   audio_mute_q,
    audio_source_q,  audio_ch_q,       hdcp_out_sw_q,  hdcp_out_ver_q, hdr_sw_q,
    tmds_format_q,   tmds_sw_q,        kd_hotplug,     kd_rsense,      edid_manuf_sink,
    edid_model_sink, edid_native_sink, edid_type_sink, kd_hdcp,        kd_scdc};

const std::vector<int> video_analyser = {
    sd_timingx, sd_tmds_clock, sd_pixel_clock, sd_data_rate,   sd_ht,  sd_ha,  sd_hbp,
    sd_hsw,     sd_hfp,        sd_hsp,         sd_vt,          sd_va,  sd_vbp, sd_vsw,
    sd_vfp,     sd_vsp,        sd_hvs_offset1, sd_hvs_offset2, sd_scan};

const std::vector<int> audio_analyser = {
    sd_acr,      sd_acr_n,      sd_acr_cts, sd_aif,      sd_hbr,      sd_asp,    sd_asp_pll,
    sd_asp_fifo, sd_asp_layout, sd_asp_ch,  sd_chs_type, sd_chs_code, sd_chs_sr, sd_chs_ss};

const std::vector<int> packet_analyser = {sd_gcp, sd_avi, sd_aif, sd_spd, sd_vsi, sd_drmi};

const std::vector<int> hdcp_analyser = {
    sd_hdcp,      sd_hdcp_aksv,     hdcp_in_sw_q,       hdcp_in_ver_q,
    sd_hdcp_bksv, sd_hdcp_rxid,     sd_scdc_source_ver, sd_scdc_scr_enable,
    rx_scdc_q,    sd_scdc_sink_ver, sd_scdc_scr_status};

const std::vector<int> hdcp_pattern = {
    hdcp_out_sw_q, hdcp_out_ver_q,   kd_hdcp_aksv,       kd_hdcp,
    kd_hdcp_bksv,  kd_hdcp_rxid,     kd_scdc_source_ver, kd_scdc_scr_enable,
    kd_scdc,       kd_scdc_sink_ver, kd_scdc_scr_status};

const std::vector<int> no_list;

// [view][task mode 0 analyser, 1 pattern]
const std::vector<int>* const lists[analyser_view_count][2] = {{&system_analyser, &system_pattern},
                                                               {&video_analyser, &no_list},
                                                               {&audio_analyser, &no_list},
                                                               {&packet_analyser, &no_list},
                                                               {&hdcp_analyser, &hdcp_pattern}};

}  // namespace

std::vector<int> poll_list_for(int view, int task_mode) {
    if (view < 0 || view >= analyser_view_count) return {};
    if (task_mode != task_analyser && task_mode != task_pattern) return {};
    return *lists[view][task_mode];
}

std::vector<int> build_poll_list(int view, int task_mode, AnalyserState& state) {
    if (task_mode == task_analyser && view == view_system) {
        state.AspActive = false;
        state.HdcpInOn = false;
    }
    if (task_mode == task_analyser && view == view_hdcp_scdc) state.HdcpInOn = false;
    if (task_mode == task_pattern && view == view_hdcp_scdc) state.HdcpOutOn = false;
    return poll_list_for(view, task_mode);
}

}  // namespace t27
