#include <array>
#include <string_view>

#include "analyser/name_table.h"
#include "analyser/packet_decode.h"

namespace t27 {

namespace {

constexpr std::array<std::string_view, 4> eotf_names = {
    "0:SDR Luminance Range", "1:HDR Luminance Range", "2:SMPTE ST 2084[2]", "3:HLG"};

constexpr std::array<std::string_view, 1> metadata_names = {"Static Metadata Type 1"};

std::int32_t little_endian16(const PacketBytes& b, std::size_t low) {
    return static_cast<std::int32_t>(b[low]) + 256 * static_cast<std::int32_t>(b[low + 1]);
}

}  // namespace

void decode_drm(const PacketBytes& b, PacketFields& f) {
    f.EotfText = table_text(eotf_names, b[4], "Reserved");
    f.MetadataText = table_text(metadata_names, b[5], "Reserved");
    // PB3..PB22 (primaries, white point, mastering luminance) are not shown;
    // MaxCLL and MaxFALL follow them.
    f.MaxContentLightLevel = little_endian16(b, 26);
    f.MaxFrameAverageLightLevel = little_endian16(b, 28);
}

}  // namespace t27
