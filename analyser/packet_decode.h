#pragma once
// The InfoFrame and control-packet decoders. Each reads the packet's bytes and
// writes only the fields of its own kind.
#include <string_view>

#include "analyser/packet_bytes.h"
#include "analyser/packet_fields.h"

namespace t27 {

void decode_avi(const PacketBytes& b, PacketFields& f);
void decode_aif(const PacketBytes& b, PacketFields& f);
void decode_gcp(const PacketBytes& b, PacketFields& f);
void decode_spd(const PacketBytes& b, PacketFields& f);
void decode_vsi(const PacketBytes& b, PacketFields& f);
void decode_drm(const PacketBytes& b, PacketFields& f);

// `packet` is the trimmed hex text with one blank appended (packet_string()).
void decode_packet(PacketKind kind, std::string_view packet, PacketFields& fields);

}  // namespace t27
