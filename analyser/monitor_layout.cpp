#include "analyser/monitor_layout.h"

#include "analyser/analyser_state.h"
#include "protocol/unit_identity.h"

namespace t27 {

namespace {

constexpr std::string_view source = "fra_monitor_source";
constexpr std::string_view unit = "fra_monitor_v4";
constexpr std::string_view sink = "fra_monitor_sink";

constexpr Indicator indicators[] = {{"lab_source_gcp", "GCP"},
                                    {"lab_source_avi", "AVI"},
                                    {"lab_source_aif", "AIF"},
                                    {"lab_source_drmi", "HDR"},
                                    {"lab_source_vsi", "VSI"}};

// The units sit far enough right of the cells (2650 and 4450 twips) that a
// value of seven characters ("3712500", "1125000") never reaches them.
constexpr std::string_view video_rows[] = {"Timing           >",
                                           "TMDS Clock       >         kHz",
                                           "Pixel Clock      >         kHz",
                                           "Data Rate        >         Gbps",
                                           "H/V Frequency    >         Hz           Hz",
                                           "H/V Total        >         pixel        line",
                                           "H/V Active       >         pixel        line",
                                           "H/V Back Porch   >         pixel        line",
                                           "H/V Sync Width   >         pixel        line",
                                           "H/V Front Porch  >         pixel        line",
                                           "H/V Sync Polarity>",
                                           "H/V Sync Offset1 >         dot",
                                           "H/V Sync Offset2 >         dot",
                                           "Scan Mode        >"};

// Likewise for the cells at 2700 twips: "None" and "192.0" stay clear of the
// units.
constexpr std::string_view audio_rows[] = {"AIF     >",
                                           "HBR     >",
                                           "ACR     >",
                                           "ACR N   >",
                                           "ACR CTS >",
                                           "ASP     >",
                                           "ASP PLL >",
                                           "ASP FIFO>",
                                           "ASP Packet Layout >",
                                           "ASP Channel Number>",
                                           "CHS App. Type     >",
                                           "CHS Audio Coding  >",
                                           "CHS Sampling Rate >        kHz",
                                           "CHS Sampling Size >        Bits"};

constexpr std::string_view packet1_rows[] = {"GCP AVMute      >",
                                             "     Deep Color  >",
                                             "AVI Color Space >",
                                             "     Colorimetry >",
                                             "     IT Content  >",
                                             "     Extended Colorimetry >",
                                             "     VIC >",
                                             "     Pixel Repitition >",
                                             "AIF Coding Type   >",
                                             "     Channel No.   >",
                                             "     Sampling Rate >",
                                             "     Sampling Size >",
                                             "     Extended Coding Type >",
                                             "     Speaker Placement    >",
                                             "     Down Mix.            >"};

constexpr std::string_view packet2_rows[] = {"SPD Vendor            >",
                                             "     Product           >",
                                             "     Information       >",
                                             "VSI IEEE ID           >",
                                             "     HDMI Video Format >",
                                             "     HDMI VIC          >",
                                             "     3D Structure      >",
                                             "DRMI ETOF             >",
                                             "      Metadata         >",
                                             "      Max Content Light Level      >",
                                             "      Max Frame-Average Light Level>"};

struct CaptionRows {
    std::string_view label;
    std::span<const std::string_view> rows;
};

constexpr CaptionRows caption_labels[] = {{"lab_item", video_rows},
                                          {"lab_item_audio", audio_rows},
                                          {"lab_item_packet1", packet1_rows},
                                          {"lab_item_packet2", packet2_rows}};

GridView make_video() {
    GridView g{video_cell, {}};
    for (int n = 0; n <= 13; ++n) g.cells.push_back({"lab_item", n, 2650});
    // The vertical values of the H/V rows 4..10.
    for (int n = 14; n <= 20; ++n) g.cells.push_back({"lab_item", n - 10, 4450});
    return g;
}

GridView make_audio() {
    GridView g{audio_cell, {}};
    for (int n = 0; n <= 13; ++n) g.cells.push_back({"lab_item_audio", n, n <= 7 ? 1350 : 2700});
    return g;
}

GridView make_packet() {
    // Left edges by cell; the VIC and repetition rows are shorter captions.
    constexpr int lefts[26] = {2450, 2450, 2450, 2450, 2450, 3650, 1350, 3100, 2700,
                               2700, 2700, 2700, 3650, 3650, 3650, 3250, 3250, 3250,
                               3250, 3250, 3250, 3250, 3250, 3250, 4850, 4850};
    GridView g{packet_cell, {}};
    for (int n = 0; n < 26; ++n) {
        g.cells.push_back({n < 15 ? "lab_item_packet1" : "lab_item_packet2", n, lefts[n]});
    }
    return g;
}

// Row captions of the HDCP & SCDC view. A leading blank marks a caption that
// follows the unit's name.
struct HdcpRow {
    std::string_view analyser;
    std::string_view pattern;
};

constexpr HdcpRow hdcp_rows[hdcp_row_count] = {
    {"Source Tx HDCP", " Tx HDCP"},
    {"Source Tx HDCP Aksv", " Tx HDCP Aksv"},
    {" Rx HDCP Port", "Sink Rx HDCP Port"},
    {" Rx HDCP Bksv", "Sink Rx HDCP Bksv"},
    {" Rx HDCP RxID", "Sink Rx HDCP RxID"},
    {"Source Tx SCDC Source Version", " Tx SCDC Source Version"},
    {"Source Tx SCDC Scramble Enable", " Tx SCDC Scramble Enable"},
    {" Rx SCDC Port", "Sink Rx SCDC Port"},
    {" Rx SCDC Sink Version", "Sink Rx SCDC Sink Version"},
    {" Rx SCDC Scramble Status", "Sink Rx SCDC Scramble Status"},
};

std::string joined(std::span<const std::string_view> rows) {
    std::string out;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i > 0) out += '\n';
        out += rows[i];
    }
    return out;
}

}  // namespace

const std::vector<SystemRow>& system_rows() {
    static const std::vector<SystemRow> rows = {
        {source, "Resolution:", {"lab_source_resox"}},
        {source, "TMDS Clock:", {"lab_source_clockx"}},
        {source, "TMDS Sync:", {"lab_source_syncx"}},
        {source, "5V:", {"lab_source_5vx"}},
        {source, "HDCP:", {"lab_source_hdcpx"}},
        {source, "Format:", {"lab_source_formatx"}},
        {source, "Audio:", {"lab_source_audiox"}},
        {source, "Color Space:", {"lab_source_cscx"}},
        {source, "Deep Color:", {"lab_source_dcx"}},
        {source, "AVMute:", {"lab_source_avmutex"}},
        {source, "Packet:", {}},
        {unit, "Rx Hotplug:", {"lab_v4_rx_hotplugx"}},
        {unit, "RSense:", {"lab_v4_rx_sensex"}},
        {unit, "Rx HDCP/SCDC Port:", {"lab_v4_rx_hdcpx", "lab_v4_rx_scdcx"}},
        {unit, "Rx EDID Type:", {"lab_v4_rx_edidx"}},
        {unit, "Rx EDID Native:", {"lab_v4_rx_edid2x"}},
        {unit, "Rx EDID Model:", {"lab_v4_rx_edid3x", "lab_v4_rx_edid4x"}},
        {unit, "Out Reso.:", {"lab_v4_reso_outx"}},
        {unit, "Output:", {"lab_v4_outputx"}},
        {unit, "Tx Color Space:", {"lab_v4_tx_cscx"}},
        {unit, "Tx Deep Color:", {"lab_v4_tx_dcx"}},
        {unit, "Format:", {"lab_v4_tx_formatx"}},
        {unit, "Tx HDCP:", {"lab_v4_tx_hdcpx"}},
        {unit, "Out Pattern:", {"lab_v4_patternx"}},
        {unit, "Out HDR:", {"lab_v4_out_hdrx"}},
        {unit, "Out Audio:               CH", {"lab_v4_out_audiox", "lab_v4_out_audio_chx"}},
        {sink, "Rx Hotplug:", {"lab_sink_rx_hotplugx"}},
        {sink, "RSense:", {"lab_sink_rx_sensex"}},
        {sink, "Rx HDCP/SCDC Port:", {"lab_sink_rx_hdcpx", "lab_sink_rx_scdcx"}},
        {sink, "Rx EDID Type:", {"lab_sink_rx_edidx"}},
        {sink, "Rx EDID Native:", {"lab_sink_rx_edid2x"}},
        {sink, "Rx EDID Model:", {"lab_sink_rx_edid3x", "lab_sink_rx_edid4x"}},
    };
    return rows;
}

std::span<const Indicator> packet_indicators() { return indicators; }

const GridView& grid_view(int view) {
    static const GridView video = make_video();
    static const GridView audio = make_audio();
    static const GridView packet = make_packet();
    static const GridView none{};
    if (view == view_video_timing) return video;
    if (view == view_audio_timing) return audio;
    if (view == view_packet) return packet;
    return none;
}

std::vector<std::string_view> row_captions(std::string_view caption_label) {
    for (const CaptionRows& c : caption_labels) {
        if (c.label == caption_label) return {c.rows.begin(), c.rows.end()};
    }
    return {};
}

HdcpCaptions hdcp_captions(int task_mode, int model_family, const std::string& linked_model) {
    HdcpCaptions c{{}, std::vector<std::string>(hdcp_row_count)};
    if (task_mode == task_cable) return c;
    const bool pattern = task_mode == task_pattern;
    const std::string u = model_family == not_known ? std::string("Unit") : linked_model;
    c.title = pattern ? "Sink HDCP && SCDC" : "Source HDCP && SCDC";
    for (int n = 0; n < hdcp_row_count; ++n) {
        const std::string_view row = pattern ? hdcp_rows[n].pattern : hdcp_rows[n].analyser;
        c.rows[static_cast<std::size_t>(n)] =
            row.starts_with(' ') ? u + std::string(row) : std::string(row);
    }
    return c;
}

DisplayUpdates monitor_form_updates(int view, int task_mode, int model_family,
                                    const std::string& linked_model) {
    DisplayUpdates u;
    if (view == view_system) {
        for (const SystemRow& row : system_rows()) {
            for (std::string_view label : row.labels) u.texts.push_back({std::string(label), ""});
        }
        for (const Indicator& i : indicators) {
            u.colours.push_back({std::string(i.label), analyser_colour::grey});
        }
    } else if (view == view_hdcp_scdc) {
        const HdcpCaptions c = hdcp_captions(task_mode, model_family, linked_model);
        u.texts.push_back({"lab_title_hdcp_scdc", c.title});
        for (int n = 0; n < hdcp_row_count; ++n) {
            u.texts.push_back({cell_name("lab_item_h", n), c.rows[static_cast<std::size_t>(n)]});
            u.texts.push_back({cell_name(hdcp_cell, n), ""});
        }
        u.colours.push_back({cell_name(hdcp_cell, 0), analyser_colour::black});
    } else {
        const GridView& g = grid_view(view);
        for (std::size_t n = 0; n < g.cells.size(); ++n) {
            u.texts.push_back({cell_name(g.cell_array, static_cast<int>(n)), ""});
        }
        for (const CaptionRows& c : caption_labels) {
            bool used = false;
            for (const CellPlace& p : g.cells) used = used || p.caption_label == c.label;
            if (used) u.texts.push_back({std::string(c.label), joined(c.rows)});
        }
    }
    return u;
}

std::vector<std::string> view_value_controls(int view) {
    std::vector<std::string> names;
    if (view == view_system) {
        for (const SystemRow& row : system_rows()) {
            for (std::string_view label : row.labels) names.emplace_back(label);
        }
        for (const Indicator& i : indicators) names.emplace_back(i.label);
    } else if (view == view_hdcp_scdc) {
        for (int n = 0; n < hdcp_row_count; ++n) names.push_back(cell_name(hdcp_cell, n));
    } else {
        const GridView& g = grid_view(view);
        for (std::size_t n = 0; n < g.cells.size(); ++n) {
            names.push_back(cell_name(g.cell_array, static_cast<int>(n)));
        }
    }
    return names;
}

}  // namespace t27
