#include <array>

#include "analyser/packet_decode.h"

namespace t27 {

namespace {

using Decoder = void (*)(const PacketBytes&, PacketFields&);

// Indexed by PacketKind.
constexpr std::array<Decoder, 6> decoders = {decode_avi, decode_aif, decode_gcp,
                                             decode_spd, decode_vsi, decode_drm};

}  // namespace

void decode_packet(PacketKind kind, std::string_view packet, PacketFields& fields) {
    const auto i = static_cast<std::size_t>(kind);
    if (i >= decoders.size()) return;
    decoders[i](parse_packet_bytes(packet), fields);
}

}  // namespace t27
