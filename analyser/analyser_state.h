#pragma once
// What the analyser remembers between poll ticks. One instance, owned by the
// window (or t27ctl, or a test) and passed to the decoding and the report.
#include <cstdint>
#include <string>

#include "analyser/packet_fields.h"

namespace t27 {

// The views of the Monitor tab; the numbers double as report section indices.
enum AnalyserView : int {
    view_system = 0,
    view_video_timing = 1,
    view_audio_timing = 2,
    view_packet = 3,
    view_hdcp_scdc = 4,
};
inline constexpr int analyser_view_count = 5;

// Generator audio source.
inline constexpr int audio_source_analog = 0;
inline constexpr int audio_source_hdmi = 1;
inline constexpr int audio_source_internal = 2;

struct AnalyserState {
    bool AspActive = false;
    bool HdcpInOn = false;
    bool HdcpOutOn = false;
    bool HdcpOutPass = false;
    bool AudioMuted = false;
    int AudioSourceCode = audio_source_analog;
    // 64-bit: a pixel clock past 2.147 GHz (8K at 60 Hz) is a real reply.
    std::int64_t PixelClockHz = 0;
    std::int64_t HTotal = 0;
    std::int64_t VTotal = 0;
    std::string ScanLetter;  // "i" or "p" once a scan reply came

    bool AviPresent = false;
    bool AifPresent = false;
    bool GcpPresent = false;
    bool SpdPresent = false;
    bool VsiPresent = false;
    bool DrmiPresent = false;

    PacketFields packet;
};

}  // namespace t27
