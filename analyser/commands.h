#pragma once
// Command-table indices of every query the analyser sends. The table itself
// lives in the protocol layer; these names only keep the poll lists and the
// reply rules readable.

namespace t27::cmd {

// "$source_detect? <item>": what the source sends to the unit's input.
inline constexpr int sd_5v = 100;
inline constexpr int sd_acr = 101;
inline constexpr int sd_acr_n = 102;
inline constexpr int sd_acr_cts = 103;
inline constexpr int sd_aif = 104;
inline constexpr int sd_asp = 105;
inline constexpr int sd_asp_ch = 106;
inline constexpr int sd_asp_fifo = 107;
inline constexpr int sd_asp_layout = 108;
inline constexpr int sd_asp_pll = 109;
inline constexpr int sd_avi = 110;
inline constexpr int sd_chs_code = 111;
inline constexpr int sd_chs_sr = 112;
inline constexpr int sd_chs_ss = 113;
inline constexpr int sd_chs_type = 114;
inline constexpr int sd_ckdt = 115;
inline constexpr int sd_data_rate = 116;
inline constexpr int sd_drmi = 117;
inline constexpr int sd_gcp = 118;
inline constexpr int sd_ha = 119;
inline constexpr int sd_hbp = 120;
inline constexpr int sd_hbr = 121;
inline constexpr int sd_hdcp = 122;
inline constexpr int sd_hdcp_aksv = 123;
inline constexpr int sd_hdcp_bksv = 124;
inline constexpr int sd_hdcp_rxid = 125;
inline constexpr int sd_hfp = 126;
inline constexpr int sd_hsp = 127;
inline constexpr int sd_hsw = 128;
inline constexpr int sd_ht = 129;
inline constexpr int sd_hvs_offset1 = 130;
inline constexpr int sd_hvs_offset2 = 131;
inline constexpr int sd_pixel_clock = 132;
inline constexpr int sd_scan = 133;
inline constexpr int sd_scdc_scr_enable = 134;
inline constexpr int sd_scdc_scr_status = 135;
inline constexpr int sd_scdc_sink_ver = 136;
inline constexpr int sd_scdc_source_ver = 137;
inline constexpr int sd_scdt = 138;
inline constexpr int sd_spd = 139;
inline constexpr int sd_timingx = 140;
inline constexpr int sd_tmds_clock = 141;
inline constexpr int sd_tmds_format = 142;
inline constexpr int sd_va = 143;
inline constexpr int sd_vbp = 144;
inline constexpr int sd_vfp = 145;
inline constexpr int sd_vsi = 146;
inline constexpr int sd_vsp = 147;
inline constexpr int sd_vsw = 148;
inline constexpr int sd_vt = 149;

// "$sink_detect? <item>": what the sink on the unit's output offers.
inline constexpr int kd_hdcp = 80;
inline constexpr int kd_hdcp_aksv = 81;
inline constexpr int kd_hdcp_bksv = 82;
inline constexpr int kd_hdcp_rxid = 83;
inline constexpr int kd_hotplug = 84;
inline constexpr int kd_rsense = 85;
inline constexpr int kd_scdc = 86;
inline constexpr int kd_scdc_scr_enable = 87;
inline constexpr int kd_scdc_scr_status = 88;
inline constexpr int kd_scdc_sink_ver = 89;
inline constexpr int kd_scdc_source_ver = 90;

// The unit's own ports and generator.
inline constexpr int audio_ch_q = 3;
inline constexpr int audio_mute_q = 5;
inline constexpr int audio_source_q = 7;
inline constexpr int color_space_q = 26;
inline constexpr int deep_color_q = 28;
inline constexpr int edid_manuf_rx = 31;
inline constexpr int edid_manuf_sink = 32;
inline constexpr int edid_model_rx = 34;
inline constexpr int edid_model_sink = 35;
inline constexpr int edid_native_rx = 37;
inline constexpr int edid_native_sink = 38;
inline constexpr int edid_type_rx = 40;
inline constexpr int edid_type_sink = 41;
inline constexpr int hdcp_in_sw_q = 51;
inline constexpr int hdcp_in_ver_q = 53;
inline constexpr int hdcp_out_sw_q = 55;
inline constexpr int hdcp_out_ver_q = 57;
inline constexpr int hdr_sw_q = 65;
inline constexpr int pattern_q = 70;
inline constexpr int rx_hotplug_q = 153;
inline constexpr int rx_sense_q = 155;
inline constexpr int rx_scdc_q = 157;
inline constexpr int timingx_q = 166;
inline constexpr int tmds_format_q = 168;
inline constexpr int tmds_sw_q = 170;

// The cable test's poll entries; their replies belong to the cable tab.
inline constexpr int cable_level_q = 14;
inline constexpr int cable_result_q = 15;
inline constexpr int cable_run_q = 17;
inline constexpr int cable_time_q = 19;
inline constexpr int timer_day_q = 160;
inline constexpr int timer_hour_q = 161;
inline constexpr int timer_minute_q = 162;
inline constexpr int timer_second_q = 163;

}  // namespace t27::cmd
