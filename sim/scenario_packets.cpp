// The packets a scenario's source sends, built field by field from its
// description.
#include <array>

#include "protocol/engine.h"
#include "sim/cta_timings.h"
#include "sim/scenario_items.h"

namespace t27::sim {

namespace {

constexpr std::uint8_t avi_type = 0x82, aif_type = 0x84, spd_type = 0x83, vsi_type = 0x81,
                       drm_type = 0x87;

std::uint8_t y_code(PixelEncoding p) {
    switch (p) {
        case PixelEncoding::rgb:
            return 0;
        case PixelEncoding::ycbcr422:
            return 1;
        case PixelEncoding::ycbcr444:
            return 2;
        case PixelEncoding::ycbcr420:
            return 3;
    }
    return 0;
}

std::vector<std::uint8_t> avi_payload(const Scenario& s) {
    const std::optional<CtaTiming> t = cta_timing(s.vic);
    const bool four_by_three = t && t->four_by_three;
    // Active format present, same as the picture.
    const std::uint8_t pb1 = static_cast<std::uint8_t>(y_code(s.pixels) << 5 | 0x10);
    std::uint8_t colorimetry = s.gamut == Gamut::bt601 ? 1 : s.gamut == Gamut::bt709 ? 2 : 3;
    const std::uint8_t pb2 =
        static_cast<std::uint8_t>(colorimetry << 6 | (four_by_three ? 1 : 2) << 4 | 0x08);
    // BT.2020 sits in the extended colorimetry field (code 6: R'G'B' or
    // Y'C'bC'r, the non-constant-luminance form every HDR10 source uses).
    const std::uint8_t pb3 = s.gamut == Gamut::bt2020 ? 6 << 4 : 0;
    std::vector<std::uint8_t> p(13, 0);
    p[0] = pb1;
    p[1] = pb2;
    p[2] = pb3;
    p[3] = static_cast<std::uint8_t>(s.vic);
    return p;
}

// Speaker allocation for the usual layouts: stereo, 5.1, 7.1 (rear centre
// pair).
std::uint8_t channel_allocation(int channels) {
    if (channels == 6) return 0x0B;
    if (channels == 8) return 0x13;
    return 0x00;
}

// HDMI leaves coding type, sample rate and sample size to the stream header
// for L-PCM and IEC 61937 alike, which is every stream a source can send it:
// only the channel count and the speakers are the InfoFrame's own.
std::vector<std::uint8_t> aif_payload(const Scenario& s) {
    const AudioDescription& a = s.audio;
    std::vector<std::uint8_t> p(10, 0);
    p[0] = static_cast<std::uint8_t>(a.channels > 0 ? (a.channels - 1) & 7 : 0);
    p[3] = channel_allocation(a.channels);
    return p;
}

std::vector<std::uint8_t> text_field(std::string_view text, std::size_t width) {
    std::vector<std::uint8_t> out(width, 0);
    for (std::size_t i = 0; i < width && i < text.size(); ++i)
        out[i] = static_cast<std::uint8_t>(text[i]);
    return out;
}

std::vector<std::uint8_t> spd_payload() {
    std::vector<std::uint8_t> p = text_field("SIMSRC", 8);
    const std::vector<std::uint8_t> product = text_field("SIM PLAYER", 16);
    p.insert(p.end(), product.begin(), product.end());
    p.push_back(0x01);  // digital set-top box
    return p;
}

// The HDMI vendor-specific InfoFrame of a 3D format: the licensing OUI, video
// format "3D", structure 0 (frame packing), which carries no extension data.
std::vector<std::uint8_t> vsi_payload() { return {0x03, 0x0C, 0x00, 0x40, 0x00}; }

void put16(std::vector<std::uint8_t>& p, std::size_t at, unsigned v) {
    p[at] = static_cast<std::uint8_t>(v & 0xFF);
    p[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// Static metadata type 1. HDR10 carries the mastering display (P3 primaries,
// D65 white, 1000 / 0.005 cd/m2) and the content light levels; an HLG source
// has none of that to say and leaves the fields 0.
std::vector<std::uint8_t> drm_payload(const Scenario& s) {
    std::vector<std::uint8_t> p(26, 0);
    p[0] = s.hdr == HdrEotf::pq ? 2 : 3;
    p[1] = 0;
    if (s.hdr != HdrEotf::pq) return p;
    // Chromaticities in units of 0.00002: green, blue, red, then white.
    constexpr std::array<unsigned, 8> xy = {13250, 34500, 7500, 3000, 34000, 16000, 15635, 16450};
    for (std::size_t i = 0; i < xy.size(); ++i) put16(p, 2 + 2 * i, xy[i]);
    put16(p, 18, 1000);  // max mastering luminance, cd/m2
    put16(p, 20, 50);    // min, 0.0001 cd/m2
    put16(p, 22, 1000);  // MaxCLL
    put16(p, 24, 400);   // MaxFALL
    return p;
}

std::vector<std::uint8_t> gcp_bytes(const Scenario& s) {
    // 4:2:2 carries up to 12 bits in the 24-bit pixel without deep-colour
    // packing, so its GCP indicates no depth; a depth there would mean a TMDS
    // clock the source does not run.
    const bool packed = s.pixels != PixelEncoding::ycbcr422;
    const std::uint8_t depth = !packed                      ? 0
                               : s.bits_per_component == 10 ? 5
                               : s.bits_per_component == 12 ? 6
                               : s.bits_per_component == 16 ? 7
                                                            : 4;
    return {0x03,  0x00, 0x00, static_cast<std::uint8_t>(s.av_mute ? 0x01 : 0x10),
            depth, 0x00, 0x00};
}

}  // namespace

std::vector<std::uint8_t> infoframe_bytes(std::uint8_t type, std::uint8_t version,
                                          const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> bytes = {type, version, static_cast<std::uint8_t>(payload.size()), 0};
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    unsigned sum = 0;
    for (std::uint8_t b : bytes) sum += b;
    bytes[3] = static_cast<std::uint8_t>((256 - sum % 256) % 256);
    return bytes;
}

std::string packet_hex(const std::vector<std::uint8_t>& bytes) {
    // The EDID triplets' form without the blank after the last byte.
    std::string s = edid_triplets(bytes.data(), bytes.size());
    if (!s.empty()) s.pop_back();
    return s;
}

ScenarioPackets scenario_packets(const Scenario& s) {
    ScenarioPackets p;
    // A DVI source has no data islands at all.
    if (!s.five_volt || s.dvi) return p;
    p.avi = infoframe_bytes(avi_type, 2, avi_payload(s));
    p.spd = infoframe_bytes(spd_type, 1, spd_payload());
    p.gcp = gcp_bytes(s);
    if (s.audio.kind != AudioKind::none) p.aif = infoframe_bytes(aif_type, 1, aif_payload(s));
    if (s.frame_packed_3d) p.vsi = infoframe_bytes(vsi_type, 1, vsi_payload());
    if (s.hdr != HdrEotf::none) p.drm = infoframe_bytes(drm_type, 1, drm_payload(s));
    return p;
}

}  // namespace t27::sim
