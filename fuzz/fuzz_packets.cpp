// One InfoFrame or control packet's hex text as the unit sends it, through
// every packet decoder and the report's raw-packet lines.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "analyser/packet_bytes.h"
#include "analyser/packet_decode.h"
#include "analyser/report_lines.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view value(reinterpret_cast<const char*>(data), size);
    if (!t27::packet_present(value)) return 0;
    const std::string packet = t27::packet_string(value);
    T27_FUZZ_CHECK(!packet.empty() && packet.back() == ' ');

    t27::parse_packet_bytes(packet);
    constexpr t27::PacketKind kinds[] = {t27::PacketKind::Avi, t27::PacketKind::Aif,
                                         t27::PacketKind::Gcp, t27::PacketKind::Spd,
                                         t27::PacketKind::Vsi, t27::PacketKind::Drm};
    t27::PacketFields fields;
    for (t27::PacketKind kind : kinds) t27::decode_packet(kind, packet, fields);
    // The ranges the name tables are indexed over.
    T27_FUZZ_CHECK(fields.ColorSpace >= 0 && fields.ColorSpace <= 5);
    T27_FUZZ_CHECK(fields.Colorimetry >= 0 && fields.Colorimetry <= 3);
    T27_FUZZ_CHECK(fields.ItContent == 0 || fields.ItContent == 1);
    // Read only when the colorimetry says extended; code 7 is named "Reserved".
    T27_FUZZ_CHECK((fields.ExtColorimetry >= 0 && fields.ExtColorimetry <= 7) ||
                   fields.ExtColorimetry == t27::packet_none_marker);
    T27_FUZZ_CHECK(fields.Colorimetry == 3 || fields.ExtColorimetry == t27::packet_none_marker);
    T27_FUZZ_CHECK(fields.PixelRepetition >= 0 && fields.PixelRepetition <= 10);
    T27_FUZZ_CHECK(fields.AvMute >= 0 && fields.AvMute <= 2);
    const int depth = fields.ColorDepth;
    T27_FUZZ_CHECK(depth == 0 || depth == 8 || depth == 10 || depth == 12 || depth == 16 ||
                   depth == t27::packet_none_marker);
    T27_FUZZ_CHECK(fields.Vic >= 0 && fields.Vic <= 255);
    T27_FUZZ_CHECK(fields.HdmiVic == t27::packet_none_marker ||
                   (fields.HdmiVic >= 0 && fields.HdmiVic <= 255));

    // Ten groups a line, each line opened by three blanks.
    for (const std::string& line : t27::raw_packet_lines(packet))
        T27_FUZZ_CHECK(line.size() <= 3 + 3 * 10);
    return 0;
}
