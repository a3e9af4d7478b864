#include "generator/panel_buttons.h"

#include "protocol/command_table.h"

namespace t27 {

namespace {

constexpr PanelReread hdr = PanelReread::hdr;
constexpr PanelReread fmt = PanelReread::format;
constexpr PanelReread no = PanelReread::none;

// clang-format off
constexpr PanelButton buttons[] = {
    {0,  "Factory Reset", 42,  "",          panel_no_group},
    {1,  "Reboot System", 11,  "",          panel_no_group},
    {2,  "Off",           50,  "off",       0},
    {3,  "v1.4",          52,  "v1.4",      1, no, 50, "on"},
    {4,  "v1.4 + v2.2",   52,  "v1.4+v2.2", 1, no, 50, "on"},
    {5,  "Toggle",        152, "toggle",    3},
    {6,  "Off",           154, "off",       5},
    {7,  "On",            154, "on",        5},
    {8,  "Off",           150, "off",       2},
    {9,  "On",            150, "on",        2},
    {10, "Off",           156, "off",       4},
    {11, "On",            156, "on",        4},
    {12, "Sinewave",      6,   "int",       6},
    {13, "HDMI In",       6,   "hdmi",      6},
    {14, "Analog In",     6,   "ana",       6},
    {15, "2 CH",          2,   "2",         7},
    {16, "5.1 CH",        2,   "6",         7},
    {17, "7.1 CH",        2,   "8",         7},
    {18, "Off",           4,   "off",       8},
    {19, "On",            4,   "on",        8},
    {20, "Off",           64,  "off",       10},
    {21, "On",            64,  "on",        10},
    {22, "1",             62,  "1",         11, hdr},
    {23, "2",             62,  "2",         11, hdr},
    {24, "3",             62,  "3",         11, hdr},
    {25, "SDR Lumi.R",    60,  "sdr",       12},
    {26, "HDR Lumi.R",    60,  "hdr",       12},
    {27, "SMPTE 2084",    60,  "2084",      12},
    {28, "No Data",       66,  "1",         13},
    {29, "ITU 601",       66,  "2",         13},
    {30, "ITU 709",       66,  "3",         13},
    {31, "xvYCC601",      66,  "4",         13},
    {32, "xvYCC709",      66,  "5",         13},
    {33, "sYCC601",       66,  "6",         13},
    {34, "AdobeY601",     66,  "7",         13},
    {35, "Adobe RGB",     66,  "8",         13},
    {36, "BT.2020(1)",    66,  "9",         13},
    {37, "BT.2020(2)",    66,  "10",        13},
    {38, "Off",           54,  "off",       14},
    {39, "v1.4",          56,  "v1.4",      15, no, 54, "on"},
    {40, "v2.2",          56,  "v2.2",      15, no, 54, "on"},
    {41, "RGB",           25,  "rgb",       16, fmt},
    {42, "Y444",          25,  "y444",      16, fmt},
    {43, "Y422",          25,  "y422",      16, fmt},
    {44, "Y420",          25,  "y420",      16, fmt},
    {45, "8 Bits",        27,  "8",         17, fmt},
    {46, "10 Bits",       27,  "10",        17, fmt},
    {47, "12 Bits",       27,  "12",        17, fmt},
    {48, "Follow TMDS",   171, "follow",    18},
    {49, "Always On",     171, "on",        18},
    {50, "Off",           -1,  "",          panel_no_group},
    {51, "On",            -1,  "",          panel_no_group},
    {52, "Off",           169, "off",       19},
    {53, "On",            169, "on",        19},
    {54, "HDMI",          167, "hdmi",      20, fmt},
    {55, "DVI",           167, "dvi",       20, fmt},
    {56, "Low",           152, "off",       3},
    {57, "High",          152, "on",        3},
    {58, "48K",           8,   "48",        9},
    {59, "96K",           8,   "96",        9},
    {60, "192K",          8,   "192",       9},
    {61, "",              -1,  "",          panel_no_group},
};
static_assert(std::size(buttons) == panel_button_count);

constexpr int row_hdcp_in[] = {2, 3, 4};
constexpr int row_hotplug[] = {56, 57, 5};
constexpr int row_sense[] = {6, 7};
constexpr int row_ddc[] = {8, 9};
constexpr int row_scdc[] = {10, 11};
constexpr int row_audio_source[] = {12, 13, 14};
constexpr int row_audio_ch[] = {15, 16, 17};
constexpr int row_audio_mute[] = {18, 19};
constexpr int row_audio_sr[] = {58, 59, 60};
constexpr int row_hdr_sw[] = {20, 21};
constexpr int row_hdr_set[] = {22, 23, 24};
constexpr int row_hdr_eotf[] = {25, 26, 27};
constexpr int row_hdr_col[] = {28, 29, 30, 31, 32, 33, 34, 35, 36, 37};
constexpr int row_hdcp_out[] = {38, 39, 40};
constexpr int row_colour_space[] = {41, 42, 43, 44};
constexpr int row_deep_colour[] = {45, 46, 47};
constexpr int row_tx_5v[] = {48, 49};
constexpr int row_tmds_sw[] = {52, 53};
constexpr int row_tmds_format[] = {54, 55};
constexpr int row_avmute[] = {50, 51};
constexpr int row_system[] = {0, 1};

constexpr PanelRow rows[] = {
    {"Rx HDCP Port", row_hdcp_in},       {"Rx Hotplug", row_hotplug},
    {"Rx Sense", row_sense},             {"Rx DDC Bus", row_ddc},
    {"Rx SCDC Port", row_scdc},          {"Audio Source", row_audio_source},
    {"Audio Channel", row_audio_ch},     {"Audio Mute", row_audio_mute},
    {"Sampling Rate", row_audio_sr},     {"HDR On/Off", row_hdr_sw},
    {"HDR Setting", row_hdr_set},        {"HDR EOTF", row_hdr_eotf},
    {"HDR Colorimetry", row_hdr_col},    {"Tx HDCP Out", row_hdcp_out},
    {"Color Space", row_colour_space},   {"Deep Color", row_deep_colour},
    {"Tx 5V Output", row_tx_5v},         {"Tx TMDS Output", row_tmds_sw},
    {"TMDS Format", row_tmds_format},    {"AVMute ", row_avmute, false},
    {"", row_system},
};
// clang-format on

std::array<std::string, panel_button_count> build_commands() {
    std::array<std::string, panel_button_count> out;
    for (const PanelButton& b : buttons)
        if (b.command >= 0)
            out[static_cast<std::size_t>(b.index)] = command_text(b.command) + b.value;
    return out;
}

}  // namespace

const PanelButton& panel_button(int index) {
    // Index 61 is an unused entry, so anything out of range maps onto it.
    if (index < 0 || index >= panel_button_count) return buttons[61];
    return buttons[index];
}

const std::array<std::string, panel_button_count>& panel_commands() {
    static const std::array<std::string, panel_button_count> commands = build_commands();
    return commands;
}

std::string panel_pre_request(int index) {
    const PanelButton& b = panel_button(index);
    if (b.pre_command < 0) return {};
    return command_text(b.pre_command) + b.pre_value;
}

std::span<const PanelRow> panel_rows() { return rows; }

}  // namespace t27
