#include "analyser/signal_items.h"

#include <algorithm>
#include <string_view>

#include "analyser/analyser_state.h"
#include "analyser/display_update.h"
#include "analyser/monitor_layout.h"
#include "protocol/unit_identity.h"

namespace t27 {

namespace {

// Rows with two value labels: what each of them shows.
struct LabelName {
    std::string_view label;
    std::string_view name;
};
constexpr LabelName two_label_rows[] = {
    {"lab_v4_rx_hdcpx", "Rx HDCP Port"},
    {"lab_v4_rx_scdcx", "Rx SCDC Port"},
    {"lab_v4_rx_edid3x", "Rx EDID Manufacturer"},
    {"lab_v4_rx_edid4x", "Rx EDID Model"},
    {"lab_v4_out_audiox", "Out Audio"},
    {"lab_v4_out_audio_chx", "Out Audio CH"},
    {"lab_sink_rx_hdcpx", "Rx HDCP Port"},
    {"lab_sink_rx_scdcx", "Rx SCDC Port"},
    {"lab_sink_rx_edid3x", "Rx EDID Manufacturer"},
    {"lab_sink_rx_edid4x", "Rx EDID Model"},
};

std::string trimmed(std::string_view s) {
    const std::size_t a = s.find_first_not_of(' ');
    if (a == std::string_view::npos) return {};
    const std::size_t b = s.find_last_not_of(' ');
    return std::string(s.substr(a, b - a + 1));
}

std::string unit_name(int model_family, const std::string& linked_model) {
    return model_family == not_known || linked_model.empty() ? std::string("Unit") : linked_model;
}

std::string frame_name(std::string_view frame, const std::string& unit) {
    if (frame == "fra_monitor_source") return "Source";
    if (frame == "fra_monitor_sink") return "Sink";
    return unit;
}

std::vector<SignalItem> system_items(const std::string& unit) {
    std::vector<SignalItem> out;
    for (const SystemRow& row : system_rows()) {
        const std::string frame = frame_name(row.frame, unit);
        for (std::string_view label : row.labels) {
            std::string name = trimmed(row.caption.substr(0, row.caption.find(':')));
            for (const LabelName& l : two_label_rows)
                if (l.label == label) name = std::string(l.name);
            out.push_back({std::string(label), frame + " " + name});
        }
        if (row.labels.empty()) {
            for (const Indicator& i : packet_indicators())
                out.push_back({std::string(i.label), frame + " Packet " + std::string(i.caption)});
        }
    }
    return out;
}

std::vector<SignalItem> grid_items(int view) {
    const GridView& g = grid_view(view);
    std::vector<SignalItem> out;
    std::string block;  // the packet an indented row continues
    for (std::size_t n = 0; n < g.cells.size(); ++n) {
        const CellPlace& place = g.cells[n];
        const std::vector<std::string_view> rows = row_captions(place.caption_label);
        // A caption label's first row is the first row of its cells (the
        // packet view's second label starts at row 15).
        int first_row = place.row;
        for (const CellPlace& other : g.cells)
            if (other.caption_label == place.caption_label)
                first_row = std::min(first_row, other.row);
        const int at = place.row - first_row;
        if (at >= static_cast<int>(rows.size())) continue;
        const std::string_view row = rows[static_cast<std::size_t>(at)];
        std::string caption = trimmed(row.substr(0, row.find('>')));
        if (!row.starts_with(' ')) {
            block = caption.substr(0, caption.find(' '));
        } else {
            caption = block + " " + caption;
        }
        // A row with two cells holds a horizontal and a vertical value.
        int cells_in_row = 0;
        bool first = true;
        for (std::size_t m = 0; m < g.cells.size(); ++m) {
            const CellPlace& other = g.cells[m];
            if (other.caption_label != place.caption_label || other.row != place.row) continue;
            ++cells_in_row;
            if (m < n) first = false;
        }
        if (cells_in_row == 2 && caption.starts_with("H/V "))
            caption = (first ? "H " : "V ") + caption.substr(4);
        out.push_back({cell_name(g.cell_array, static_cast<int>(n)), caption});
    }
    return out;
}

std::vector<SignalItem> hdcp_items(int task_mode, int model_family,
                                   const std::string& linked_model) {
    const HdcpCaptions c = hdcp_captions(task_mode, model_family, linked_model);
    std::vector<SignalItem> out;
    for (int n = 0; n < hdcp_row_count; ++n) {
        std::string name = c.rows[static_cast<std::size_t>(n)];
        if (name.empty()) name = "row " + std::to_string(n);
        out.push_back({cell_name(hdcp_cell, n), name});
    }
    return out;
}

std::vector<SignalItem> items_of(int view, int task_mode, int model_family,
                                 const std::string& linked_model) {
    if (view == view_system) return system_items(unit_name(model_family, linked_model));
    if (view == view_hdcp_scdc) return hdcp_items(task_mode, model_family, linked_model);
    return grid_items(view);
}

std::string view_caption(int view) {
    std::string c(view_option_captions[static_cast<std::size_t>(view)]);
    const std::size_t amp = c.find("&&");
    if (amp != std::string::npos) c.erase(amp, 1);
    return c;
}

}  // namespace

std::vector<SignalItem> signal_items(int view, int task_mode, int model_family,
                                     const std::string& linked_model) {
    if (view < 0 || view >= analyser_view_count) return {};
    std::vector<SignalItem> out = items_of(view, task_mode, model_family, linked_model);
    for (int earlier = 0; earlier < view; ++earlier) {
        const std::vector<SignalItem> before =
            items_of(earlier, task_mode, model_family, linked_model);
        for (SignalItem& item : out) {
            const bool taken = std::any_of(before.begin(), before.end(), [&](const SignalItem& b) {
                return b.name == item.name;
            });
            if (taken) item.name = view_caption(view) + " " + item.name;
        }
    }
    return out;
}

}  // namespace t27
