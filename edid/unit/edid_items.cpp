#include "edid/unit/edid_items.h"

#include <array>

#include "protocol/unit_identity.h"

namespace t27 {

namespace {

// clang-format off
constexpr std::array<EdidItem, edid_read_item_count + 1> read_items = {{
    {"", 0, ""},
    {"HDMI Sink", 1, "sink_h"}, {edid_no_analog_entry, 2, "sink_v"},
    {"---", 2, "d1"},  {"---", 3, "d2"},  {"---", 4, "d3"},  {"---", 5, "d4"},
    {"---", 6, "d5"},  {"---", 7, "d6"},  {"---", 8, "d7"},  {"---", 9, "d8"},
    {"---", 10, "d9"}, {"---", 11, "d10"},
    {"---", 12, "c1"}, {"---", 13, "c2"}, {"---", 14, "c3"}, {"---", 15, "c4"},
    {"---", 16, "c5"}, {"---", 17, "c6"}, {"---", 18, "c7"}, {"---", 19, "c8"},
    {"---", 20, "c9"}, {"---", 21, "c10"},
}};

constexpr std::array<EdidItem, edid_write_item_count + 1> write_items = {{
    {"", 0, ""},
    {"HDMI Sink", 1, "sink_h"}, {edid_no_analog_entry, 2, "sink_v"},
    {"---", 12, "c1"}, {"---", 13, "c2"}, {"---", 14, "c3"}, {"---", 15, "c4"},
    {"---", 16, "c5"}, {"---", 17, "c6"}, {"---", 18, "c7"}, {"---", 19, "c8"},
    {"---", 20, "c9"}, {"---", 21, "c10"},
}};

constexpr std::array<const char*, edid_image_count + 1> image_files = {
    "",
    "edid_sink.bmp",
    "edid_d1.bmp", "edid_d2.bmp", "edid_d3.bmp", "edid_d4.bmp", "edid_d5.bmp",
    "edid_d6.bmp", "edid_d7.bmp", "edid_d8.bmp", "edid_d9.bmp", "edid_d10.bmp",
    "edid_c1.bmp", "edid_c2.bmp", "edid_c3.bmp", "edid_c4.bmp", "edid_c5.bmp",
    "edid_c6.bmp", "edid_c7.bmp", "edid_c8.bmp", "edid_c9.bmp", "edid_c10.bmp",
};
// clang-format on

// "3" of "d3": 1-10, or 0 for anything else.
int slot_number(const std::string& digits) {
    if (digits.empty() || digits.size() > 2 || digits[0] == '0') return 0;
    int n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + (c - '0');
    }
    return n <= edid_slot_count ? n : 0;
}

}  // namespace

const EdidItem& edid_read_item(int item) {
    return read_items[item >= 1 && item <= edid_read_item_count ? static_cast<std::size_t>(item)
                                                                : 0];
}

const EdidItem& edid_write_item(int item) {
    return write_items[item >= 1 && item <= edid_write_item_count ? static_cast<std::size_t>(item)
                                                                  : 0];
}

bool edid_item_usable(int item, int model_family) {
    return item != edid_analog_item || model_family == family_v4;
}

int edid_write_item_user_slot(int item) {
    return item >= 3 && item <= edid_write_item_count ? item - 2 : 0;
}

int edid_rx_index_from_reply(const std::string& param) {
    if (param == "sink") return edid_rx_sink;
    if (param.empty()) return 0;
    const int n = slot_number(param.substr(1));
    if (n == 0) return 0;
    if (param[0] == 'd') return n + 1;
    if (param[0] == 'c') return n + 11;
    return 0;
}

std::string edid_rx_request(int index) {
    if (index >= 2 && index <= 11) return "$edid_rx d" + std::to_string(index - 1);
    if (index >= 12 && index <= 21) return "$edid_rx c" + std::to_string(index - 11);
    if (index == edid_rx_sink) return "$edid_rx sink";
    return {};
}

std::string edid_image_file(int image) {
    return image_files[image >= 1 && image <= edid_image_count ? static_cast<std::size_t>(image)
                                                               : 0];
}

}  // namespace t27
