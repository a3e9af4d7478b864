#include <array>
#include <cstdio>
#include <string_view>

#include "analyser/name_table.h"
#include "analyser/packet_decode.h"
#include "analyser/packet_texts.h"

namespace t27 {

namespace {

constexpr std::string_view reserved = "Reserved";

constexpr std::array<std::string_view, 8> video_format_names = {
    "No Info", "Extended HDMI VIC", "3D Format", reserved, reserved, reserved, reserved, reserved};
constexpr int format_extended_vic = 1;
constexpr int format_3d = 2;

constexpr std::array<std::string_view, 11> hdmi_vic_names = {
    "0:Reserved",           "1:3840x2160p29.97/30", "2:3840x2160p25",       "3:3840x2160p23.98/24",
    "4:4096x2160p23.98/24", "5:4096x2160p25",       "6:4096x2160p29.97/30", "7:3840x2160p59.94/60",
    "8:3840x2160p50",       "9:4096x2160p59.94/60", "10:4096x2160p50"};

constexpr std::array<std::string_view, 16> structure_3d_names = {"Frame Packing",
                                                                 "Field Alternative(I)",
                                                                 "Line Alternate(P)",
                                                                 "Side by Side Full",
                                                                 "L+Depth",
                                                                 "L+Depth+Graphicsx",
                                                                 "Top and Bottom",
                                                                 reserved,
                                                                 "Side by Side Half",
                                                                 reserved,
                                                                 reserved,
                                                                 reserved,
                                                                 reserved,
                                                                 reserved,
                                                                 reserved,
                                                                 reserved};

}  // namespace

bool vsi_hdmi_vic_has_text(int n) {
    return n == packet_none_marker || (n >= 0 && n < static_cast<int>(hdmi_vic_names.size()));
}

std::string vsi_hdmi_vic_text(int n) {
    if (n == packet_none_marker) return "None";
    return table_text(hdmi_vic_names, n);
}

void decode_vsi(const PacketBytes& b, PacketFields& f) {
    // The OUI travels least significant byte first.
    char oui[16];
    std::snprintf(oui, sizeof oui, "0x%02X%02X%02X", b[6], b[5], b[4]);
    f.IeeeIdText = oui;
    const int format = (b[7] >> 5) & 0x07;
    f.VideoFormatText = table_text(video_format_names, format);
    f.HdmiVic = format == format_extended_vic ? b[8] : packet_none_marker;
    f.ThreeDStructureText =
        format == format_3d ? table_text(structure_3d_names, (b[8] >> 4) & 0x0F) : "None";
}

}  // namespace t27
