#pragma once
// The entries of the EDID source (READ) and target (WRITE) selectors, what
// each one sends, and the numbering that ties slots, items, pictures and the
// input's EDID source together. Items are counted from 1, the first entry of a
// selector being item 1.
#include <string>

namespace t27 {

inline constexpr int edid_read_item_count = 22;
inline constexpr int edid_write_item_count = 12;
// Pictures of imglst_edid, 1..21: the sink, d1-d10, c1-c10.
inline constexpr int edid_image_count = 21;
inline constexpr int edid_slot_count = 10;

inline constexpr int edid_sink_item = 1;
// The analog sink: usable with the V4 family only.
inline constexpr int edid_analog_item = 2;

inline constexpr const char* edid_window_title = "Torvex T27 Controller 2.18T";
// The second entry of both selectors, by family.
inline constexpr const char* edid_analog_entry = "VGA  Sink";
inline constexpr const char* edid_no_analog_entry = "---      ";

struct EdidItem {
    const char* text;  // text at start
    int image;         // picture of imglst_edid
    const char* slot;  // what the request names
};

// Items outside the range give an entry with an empty slot.
const EdidItem& edid_read_item(int item);
const EdidItem& edid_write_item(int item);

// False for the analog sink item when the unit is not of the V4 family.
bool edid_item_usable(int item, int model_family);

// User slot number (1-10) a WRITE item stands for; 0 for the sink items.
int edid_write_item_user_slot(int item);
// Items that show the name of default slot n / user slot n.
inline constexpr int edid_read_item_of_default(int n) { return n + 2; }
inline constexpr int edid_read_item_of_user(int n) { return n + 12; }
inline constexpr int edid_write_item_of_user(int n) { return n + 2; }

// The input's EDID source: 1 = sink, 2-11 = d1-d10, 12-21 = c1-c10. The same
// number is the picture shown for it.
inline constexpr int edid_rx_sink = 1;
// From the first parameter of the "$edid_rx?" reply; 0 when it names no
// source this program knows.
int edid_rx_index_from_reply(const std::string& param);
// The request that selects source `index`, without the line end; empty for
// an index outside 1-21.
std::string edid_rx_request(int index);

// Picture of the copy-sink target n (1-10).
inline constexpr int edid_copy_sink_image(int n) { return 11 + n; }

// File name under bmp/ of picture `image` (1-21).
std::string edid_image_file(int image);

}  // namespace t27
