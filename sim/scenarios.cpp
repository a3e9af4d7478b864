#include "sim/scenarios.h"

namespace t27::sim {

namespace {

using enum PixelEncoding;
using enum HdcpState;
using enum HdrEotf;

constexpr AudioDescription stereo_lpcm{AudioKind::lpcm, 2, 48000, 24};

// clang-format off
constexpr Scenario table[] = {
    {"1080p60", "VIC 16 RGB 8-bit, LPCM 2 ch 48 kHz, AVI AIF SPD GCP",
     true, 16, false, false, rgb, 8, Gamut::bt709, off, stereo_lpcm},
    {"2160p60-hdr10", "VIC 97 YCbCr 4:2:2 12-bit BT.2020, HDCP 2.2, HDR10 (ST 2084), LPCM 2 ch",
     true, 97, false, false, ycbcr422, 12, Gamut::bt2020, v22_authenticated, stereo_lpcm, false,
     pq},
    {"2160p50-hlg-420", "VIC 96 YCbCr 4:2:0 10-bit BT.2020, HLG, LPCM 2 ch",
     true, 96, false, false, ycbcr420, 10, Gamut::bt2020, off, stereo_lpcm, false, hlg},
    {"1080i50-ac3", "VIC 20 YCbCr 4:4:4 8-bit, AC-3 5.1 bitstream at 48 kHz",
     true, 20, false, false, ycbcr444, 8, Gamut::bt709, off,
     {AudioKind::compressed, 6, 48000, 16, 2}},
    {"1080p24-hbr", "VIC 32 YCbCr 4:4:4 8-bit, HBR audio 8 ch 192 kHz",
     true, 32, false, false, ycbcr444, 8, Gamut::bt709, off,
     {AudioKind::hbr, 8, 192000, 24, 12}},
    {"1080p60-pcm8", "VIC 16 RGB 8-bit, LPCM 7.1 at 96 kHz 24-bit",
     true, 16, false, false, rgb, 8, Gamut::bt709, off, {AudioKind::lpcm, 8, 96000, 24}},
    {"720p50-3d", "VIC 19 in 3D frame packing, HDMI VSI, LPCM 2 ch",
     true, 19, true, false, rgb, 8, Gamut::bt709, off, stereo_lpcm},
    {"720p60-dvi", "VIC 4 timing in DVI mode: RGB, no InfoFrames, no audio",
     true, 4, false, true, rgb, 8, Gamut::bt709, off, {}},
    {"480p-avmute", "VIC 2 with AVMute set in the GCP, audio muted",
     true, 2, false, false, rgb, 8, Gamut::bt601, off,
     {AudioKind::lpcm, 2, 48000, 24, 0, true}, true},
    {"1080p60-hdcp-fail", "VIC 16 RGB 8-bit, HDCP 1.4 failing authentication",
     true, 16, false, false, rgb, 8, Gamut::bt709, v14_failing, stereo_lpcm},
    {"no-signal", "5 V off: no clock, no sync, nothing else",
     false},
};
// clang-format on

}  // namespace

std::span<const Scenario> scenarios() { return table; }

const Scenario* find_scenario(std::string_view name) {
    for (const Scenario& s : table)
        if (s.name == name) return &s;
    return nullptr;
}

const Scenario& default_scenario() { return table[0]; }

}  // namespace t27::sim
