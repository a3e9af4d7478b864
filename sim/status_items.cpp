#include "sim/status_items.h"

namespace t27::sim {

namespace {

struct Item {
    const char* name;
    const char* value;
};

// clang-format off
constexpr Item source_1080p60[] = {
    {"5v", "on"}, {"ckdt", "on"}, {"scdt", "on"}, {"timingx", "1920x1080p60"},
    {"tmds_format", "hdmi"}, {"tmds_clock", "148500"}, {"pixel_clock", "148500"},
    {"data_rate", "1485"}, {"scan", "p"},
    {"ht", "2200"}, {"ha", "1920"}, {"hbp", "148"}, {"hsw", "44"}, {"hfp", "88"}, {"hsp", "pos"},
    {"vt", "1125"}, {"va", "1080"}, {"vbp", "36"}, {"vsw", "5"}, {"vfp", "4"}, {"vsp", "pos"},
    {"hvs_offset1", "0"}, {"hvs_offset2", "0"},
    {"asp", "on"}, {"hbr", "off"}, {"acr", "on"}, {"acr_n", "6144"}, {"acr_cts", "148500"},
    {"asp_pll", "lock"}, {"asp_fifo", "nor"}, {"asp_layout", "0"}, {"asp_ch", "2"},
    {"chs_type", "c"}, {"chs_code", "lpcm"}, {"chs_sr", "48"}, {"chs_ss", "24"},
    {"vsi", "off"}, {"drmi", "off"},
    {"hdcp", "off"}, {"hdcp_aksv", "none"}, {"hdcp_bksv", "5A 3C 96 E1 0F"}, {"hdcp_rxid", "none"},
    {"scdc_scr_enable", "off"}, {"scdc_scr_status", "off"},
    {"scdc_sink_ver", "1"}, {"scdc_source_ver", "0"},
};

constexpr Item sink_attached[] = {
    {"hotplug", "on"}, {"rsense", "on"}, {"hdcp", "v2.2"},
    {"hdcp_aksv", "A5 3C 69 1E F0"}, {"hdcp_bksv", "5A 3C 96 E1 0F"}, {"hdcp_rxid", "3F 1A 7C 00 21"},
    {"scdc", "on"}, {"scdc_scr_enable", "off"}, {"scdc_scr_status", "off"},
    {"scdc_sink_ver", "1"}, {"scdc_source_ver", "1"},
};

constexpr Item sink_absent[] = {
    {"hotplug", "off"}, {"rsense", "off"}, {"hdcp", "off"},
    {"hdcp_aksv", "none"}, {"hdcp_bksv", "none"}, {"hdcp_rxid", "none"},
    {"scdc", "off"}, {"scdc_scr_enable", "off"}, {"scdc_scr_status", "off"},
    {"scdc_sink_ver", "0"}, {"scdc_source_ver", "0"},
};
// clang-format on

std::vector<std::uint8_t> text_field(const char* text, std::size_t width) {
    std::vector<std::uint8_t> out(width, 0);
    for (std::size_t i = 0; i < width && text[i]; ++i) out[i] = static_cast<std::uint8_t>(text[i]);
    return out;
}

}  // namespace

std::string infoframe_hex(std::uint8_t type, std::uint8_t version,
                          const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> bytes = {type, version, static_cast<std::uint8_t>(payload.size()), 0};
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    unsigned sum = 0;
    for (std::uint8_t b : bytes) sum += b;
    bytes[3] = static_cast<std::uint8_t>((256 - sum % 256) % 256);
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    for (std::uint8_t b : bytes) {
        if (!s.empty()) s.push_back(' ');
        s.push_back(digits[b >> 4]);
        s.push_back(digits[b & 15]);
    }
    return s;
}

void reset_source_items(UnitState& state) {
    state.source_items.clear();
    for (const Item& i : source_1080p60) state.source_items[i.name] = i.value;
    // RGB with active format, BT.709, 16:9, VIC 16, no repetition.
    state.source_items["avi"] =
        infoframe_hex(0x82, 2, {0x10, 0xA8, 0x00, 16, 0x00, 0, 0, 0, 0, 0, 0, 0, 0});
    // Two channels, everything else from the stream header.
    state.source_items["aif"] = infoframe_hex(0x84, 1, {0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    std::vector<std::uint8_t> spd = text_field("SIMSRC", 8);
    std::vector<std::uint8_t> product = text_field("SIM PLAYER", 16);
    spd.insert(spd.end(), product.begin(), product.end());
    spd.push_back(0x01);  // digital set-top box
    state.source_items["spd"] = infoframe_hex(0x83, 1, spd);
    // Packet header 0x03, AV mute cleared, 24 bits per pixel.
    state.source_items["gcp"] = "03 00 00 10 04 00 00";
}

void reset_sink_items(UnitState& state) {
    state.sink_items.clear();
    if (state.edid.sink_present) {
        for (const Item& i : sink_attached) state.sink_items[i.name] = i.value;
    } else {
        for (const Item& i : sink_absent) state.sink_items[i.name] = i.value;
    }
}

}  // namespace t27::sim
