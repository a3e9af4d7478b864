#include "protocol/command_table.h"

namespace t27 {

namespace {

struct Entry {
    int index;
    const char* text;
};

// Written as data so a missing or doubled trailing blank stands out in review.
constexpr Entry entries[] = {
    {0, "$4k_to_1080p "},
    {1, "$4k_to_1080p? "},
    {2, "$audio_ch "},
    {3, "$audio_ch? "},
    {4, "$audio_mute "},
    {5, "$audio_mute? "},
    {6, "$audio_source "},
    {7, "$audio_source? "},
    {8, "$audio_sr "},
    {9, "$audio_sr? "},
    {10, "$board_id? "},
    {11, "$boot go"},
    {12, "$boot?"},
    {13, "$cable_level "},
    {14, "$cable_level?"},
    {15, "$cable_result?"},
    {16, "$cable_run "},
    {17, "$cable_run?"},
    {18, "$cable_time "},
    {19, "$cable_time?"},
    {20, "$cec_log_clear"},
    {21, "$cec_log_msg? "},
    {22, "$cec_msg_set "},
    {23, "$cec_msg_set? "},
    {24, "$cec_msg_send "},
    {25, "$color_space "},
    {26, "$color_space?"},
    {27, "$deep_color "},
    {28, "$deep_color?"},
    {30, "$edid_manuf? "},
    {31, "$edid_manuf? rx"},
    {32, "$edid_manuf? sink_h"},
    {33, "$edid_model? "},
    {34, "$edid_model? rx"},
    {35, "$edid_model? sink_h"},
    {36, "$edid_native? "},
    {37, "$edid_native? rx"},
    {38, "$edid_native? sink_h"},
    {39, "$edid_type? "},
    {40, "$edid_type? rx"},
    {41, "$edid_type? sink_h"},
    {42, "$factory"},
    {50, "$hdcp_in_sw "},
    {51, "$hdcp_in_sw?"},
    {52, "$hdcp_in_ver "},
    {53, "$hdcp_in_ver?"},
    {54, "$hdcp_out_sw "},
    {55, "$hdcp_out_sw?"},
    {56, "$hdcp_out_ver "},
    {57, "$hdcp_out_ver?"},
    {60, "$hdr_eotf "},
    {61, "$hdr_eotf? "},
    {62, "$hdr_set "},
    {63, "$hdr_set?"},
    {64, "$hdr_sw "},
    {65, "$hdr_sw?"},
    {66, "$hdr_tx_col "},
    {67, "$hdr_tx_col? "},
    {68, "$motion_text "},
    {69, "$motion_text?"},
    {70, "$pattern? "},
    {71, "$pattern "},
    {80, "$sink_detect? hdcp"},
    {81, "$sink_detect? hdcp_aksv"},
    {82, "$sink_detect? hdcp_bksv"},
    {83, "$sink_detect? hdcp_rxid"},
    {84, "$sink_detect? hotplug"},
    {85, "$sink_detect? rsense"},
    {86, "$sink_detect? scdc"},
    {87, "$sink_detect? scdc_scr_enable"},
    {88, "$sink_detect? scdc_scr_status"},
    {89, "$sink_detect? scdc_sink_ver"},
    {90, "$sink_detect? scdc_source_ver"},
    {100, "$source_detect? 5v"},
    {101, "$source_detect? acr"},
    {102, "$source_detect? acr_n"},
    {103, "$source_detect? acr_cts"},
    {104, "$source_detect? aif"},
    {105, "$source_detect? asp"},
    {106, "$source_detect? asp_ch"},
    {107, "$source_detect? asp_fifo"},
    {108, "$source_detect? asp_layout"},
    {109, "$source_detect? asp_pll"},
    {110, "$source_detect? avi"},
    {111, "$source_detect? chs_code"},
    {112, "$source_detect? chs_sr"},
    {113, "$source_detect? chs_ss"},
    {114, "$source_detect? chs_type"},
    {115, "$source_detect? ckdt"},
    {116, "$source_detect? data_rate"},
    {117, "$source_detect? drmi"},
    {118, "$source_detect? gcp"},
    {119, "$source_detect? ha"},
    {120, "$source_detect? hbp"},
    {121, "$source_detect? hbr"},
    {122, "$source_detect? hdcp"},
    {123, "$source_detect? hdcp_aksv"},
    {124, "$source_detect? hdcp_bksv"},
    {125, "$source_detect? hdcp_rxid"},
    {126, "$source_detect? hfp"},
    {127, "$source_detect? hsp"},
    {128, "$source_detect? hsw"},
    {129, "$source_detect? ht"},
    {130, "$source_detect? hvs_offset1"},
    {131, "$source_detect? hvs_offset2"},
    {132, "$source_detect? pixel_clock"},
    {133, "$source_detect? scan"},
    {134, "$source_detect? scdc_scr_enable"},
    {135, "$source_detect? scdc_scr_status"},
    {136, "$source_detect? scdc_sink_ver"},
    {137, "$source_detect? scdc_source_ver"},
    {138, "$source_detect? scdt"},
    {139, "$source_detect? spd"},
    {140, "$source_detect? timingx"},
    {141, "$source_detect? tmds_clock"},
    {142, "$source_detect? tmds_format"},
    {143, "$source_detect? va"},
    {144, "$source_detect? vbp"},
    {145, "$source_detect? vfp"},
    {146, "$source_detect? vsi"},
    {147, "$source_detect? vsp"},
    {148, "$source_detect? vsw"},
    {149, "$source_detect? vt"},
    {150, "$rx_ddc "},
    {151, "$rx_ddc?"},
    {152, "$rx_hotplug "},
    {153, "$rx_hotplug?"},
    {154, "$rx_sense "},
    {155, "$rx_sense?"},
    {156, "$rx_scdc "},
    {157, "$rx_scdc?"},
    {160, "$timer_day?"},
    {161, "$timer_hour?"},
    {162, "$timer_minute?"},
    {163, "$timer_second?"},
    {164, "$timing "},
    {165, "$timing? "},
    {166, "$timingx?"},
    {167, "$tmds_format "},
    {168, "$tmds_format?"},
    {169, "$tmds_sw "},
    {170, "$tmds_sw?"},
    {171, "$tx_5v "},
    {172, "$tx_5v?"},
    {180, "$color_cal_blue "},
    {181, "$color_cal_blue?"},
    {182, "$color_cal_color "},
    {183, "$color_cal_color?"},
    {184, "$color_cal_green "},
    {185, "$color_cal_green?"},
    {186, "$color_cal_level "},
    {187, "$color_cal_level?"},
    {188, "$color_cal_red "},
    {189, "$color_cal_red?"},
};

CommandTable build_table() {
    CommandTable t{};
    for (const Entry& e : entries) t[static_cast<std::size_t>(e.index)] = e.text;
    return t;
}

}  // namespace

const CommandTable& command_table() {
    static const CommandTable table = build_table();
    return table;
}

const std::string& command_text(int index) {
    static const std::string empty;
    if (index < 0 || index >= command_table_size) return empty;
    return command_table()[static_cast<std::size_t>(index)];
}

std::string cmdstr_cmd_get(std::string_view text) {
    if (text.empty() || text.front() != '$') return {};
    std::size_t end = text.find(' ');
    if (end == std::string_view::npos) end = text.find('\r');
    if (end == std::string_view::npos) return {};
    return std::string(text.substr(0, end));
}

}  // namespace t27
