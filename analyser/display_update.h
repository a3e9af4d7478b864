#pragma once
// What the analyser logic asks the window to show: captions and colours of
// controls named by their object names. Control arrays are "name_N".
#include <string>
#include <string_view>
#include <vector>

#include "common/colours.h"

namespace t27 {

namespace analyser_colour {
inline constexpr Colour black = 0;
inline constexpr Colour grey = 0x909090;  // RGB(144,144,144): packet not sent
inline constexpr Colour fail = 0x3030FF;  // RGB(255,48,48): output HDCP not authenticated
}  // namespace analyser_colour

// Value cells of the grid views.
inline constexpr std::string_view video_cell = "lab_item_val";
inline constexpr std::string_view audio_cell = "lab_item_val_a";
inline constexpr std::string_view packet_cell = "lab_item_val_p";
inline constexpr std::string_view hdcp_cell = "lab_item_val_h";

// "lab_item_val" and 13 give "lab_item_val_13".
inline std::string cell_name(std::string_view array, int n) {
    return std::string(array) + "_" + std::to_string(n);
}

struct TextUpdate {
    std::string control;
    std::string text;
    bool operator==(const TextUpdate&) const = default;
};

struct ColourUpdate {
    std::string control;
    Colour colour = 0;
    bool operator==(const ColourUpdate&) const = default;
};

struct DisplayUpdates {
    std::vector<TextUpdate> texts;      // in the order they were decided
    std::vector<ColourUpdate> colours;  // likewise
    // The reply belonged to the cable test's list; its first parameter is for
    // the cable tab, nothing here was changed.
    bool cable_reply = false;
};

}  // namespace t27
