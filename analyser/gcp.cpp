#include <array>
#include <string_view>

#include "analyser/name_table.h"
#include "analyser/packet_decode.h"
#include "analyser/packet_texts.h"

namespace t27 {

namespace {

constexpr std::array<std::string_view, 3> av_mute_names = {"Clear", "Set", "None"};

// SB1 colour-depth code -> bits per component; 0 means not indicated.
constexpr std::array<int, 16> color_depth_of_code = {0,
                                                     packet_none_marker,
                                                     packet_none_marker,
                                                     packet_none_marker,
                                                     8,
                                                     10,
                                                     12,
                                                     16,
                                                     packet_none_marker,
                                                     packet_none_marker,
                                                     packet_none_marker,
                                                     packet_none_marker,
                                                     packet_none_marker,
                                                     packet_none_marker,
                                                     packet_none_marker,
                                                     packet_none_marker};

}  // namespace

std::string gcp_av_mute_text(int n) { return table_text(av_mute_names, n); }

std::string gcp_color_depth_text(int n) {
    if (n == 0) return "Not Indicated";
    if (n == packet_none_marker) return "Reserved";
    return std::to_string(n);
}

void decode_gcp(const PacketBytes& b, PacketFields& f) {
    // SB0 is compared whole: only a packet that sets exactly one of the two
    // mute bits says anything.
    if (b[3] == 0x01) {
        f.AvMute = 1;
    } else if (b[3] == 0x10) {
        f.AvMute = 0;
    } else {
        f.AvMute = 2;
    }
    f.ColorDepth = color_depth_of_code[b[4] & 0x0F];
}

}  // namespace t27
