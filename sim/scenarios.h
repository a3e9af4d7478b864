#pragma once
// Signal scenarios: what a source attached to the unit's input sends, each
// described once as a source would configure itself. The status items and
// InfoFrames the unit reports are derived from the description
// (scenario_items.h), never written out item by item.
#include <span>
#include <string_view>

namespace t27::sim {

enum class PixelEncoding { rgb, ycbcr422, ycbcr444, ycbcr420 };
enum class Gamut { bt601, bt709, bt2020 };
enum class HdcpState { off, v14_failing, v22_authenticated };
enum class AudioKind { none, lpcm, compressed, hbr };
enum class HdrEotf { none, pq, hlg };

struct AudioDescription {
    AudioKind kind = AudioKind::none;
    int channels = 0;  // speakers the programme has (a 5.1 bitstream: 6)
    int rate_hz = 0;
    int sample_bits = 0;
    int coding = 0;      // audio coding type code of a bitstream (2 AC-3, 12 MAT)
    bool muted = false;  // configured, clock running, but no samples sent
};

struct Scenario {
    std::string_view name;
    std::string_view description;
    bool five_volt = true;  // false: the source is off and nothing else applies
    int vic = 0;
    bool frame_packed_3d = false;
    bool dvi = false;
    PixelEncoding pixels = PixelEncoding::rgb;
    int bits_per_component = 8;
    Gamut gamut = Gamut::bt709;
    HdcpState hdcp = HdcpState::off;
    AudioDescription audio;
    bool av_mute = false;
    HdrEotf hdr = HdrEotf::none;
};

std::span<const Scenario> scenarios();
const Scenario* find_scenario(std::string_view name);
// What the unit sees at start-up: a 1080p60 RGB source with stereo LPCM.
const Scenario& default_scenario();

}  // namespace t27::sim
