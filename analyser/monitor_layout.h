#pragma once
// What the Monitor tab's five views hold, as data: the value labels, row
// captions and cell places each view lays out, and the updates that lay a view
// out afresh. The window owns the widgets and only applies these.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analyser/display_update.h"

namespace t27 {

// The view frames sit at one place; rows of the grid views are 255 twips apart,
// the first row at the top of its row-caption label.
inline constexpr int monitor_frame_left_twips = 2400;
inline constexpr int monitor_frame_top_twips = 240;
inline constexpr int monitor_row_pitch_twips = 255;

inline constexpr std::string_view view_option_captions[] = {
    "System", "Video Timing", "Audio Timing", "Packet", "HDCP && SCDC"};

// One caption row of the System view's three frames and its value labels.
struct SystemRow {
    std::string_view frame;  // fra_monitor_source, fra_monitor_v4, fra_monitor_sink
    std::string_view caption;
    std::vector<std::string_view> labels;
};

const std::vector<SystemRow>& system_rows();

// The packet indicators of the SOURCE frame and their captions.
struct Indicator {
    std::string_view label;
    std::string_view caption;
};
std::span<const Indicator> packet_indicators();

// Where one value cell of a grid view sits: the row below the top of its
// row-caption label and its left edge.
struct CellPlace {
    std::string_view caption_label;  // the row-caption label the row belongs to
    int row = 0;
    int left_twips = 0;
};

struct GridView {
    std::string_view cell_array;   // lab_item_val, lab_item_val_a, ...
    std::vector<CellPlace> cells;  // index = cell number
};

// Views 1 (Video Timing), 2 (Audio Timing) and 3 (Packet); any other view
// gives an empty grid.
const GridView& grid_view(int view);

// The row captions of a grid view's caption label, top row first.
std::vector<std::string_view> row_captions(std::string_view caption_label);

// The HDCP & SCDC view: title, then the ten row captions, for the task mode.
// `unit` is the linked model, or "Unit" while none is identified. Cable mode
// leaves every caption empty; a mode not yet read shows the analyser captions.
struct HdcpCaptions {
    std::string title;
    std::vector<std::string> rows;  // ten
};
HdcpCaptions hdcp_captions(int task_mode, int model_family, const std::string& linked_model);
// Its captions are one label per row (lab_item_h_N, row N), each with its cell
// lab_item_val_h_N beside it.
inline constexpr int hdcp_row_count = 10;

// Laying out a view: every value emptied, indicators grey, captions set, and
// for the HDCP view cell 0 black. Multi-line captions are joined by "\n".
DisplayUpdates monitor_form_updates(int view, int task_mode, int model_family,
                                    const std::string& linked_model);

// Every control name a view's decoding may address.
std::vector<std::string> view_value_controls(int view);

}  // namespace t27
