#pragma once
// What the InfoFrame and control-packet decoders leave behind. Each field keeps
// its value until a later decode of the same packet kind writes it, so a code
// without a text shows whatever the previous packet said.
#include <cstdint>
#include <string>

namespace t27 {

enum class PacketKind { Avi, Aif, Gcp, Spd, Vsi, Drm };

// Marker stored where a field has no value of its own (GCP reserved depth,
// VSI without an extended HDMI VIC).
inline constexpr int packet_none_marker = 254;

// The AVI's reserved extended-colorimetry code.
inline constexpr int avi_ext_colorimetry_reserved = 7;

struct PacketFields {
    // AVI
    int ColorSpace = 0;       // 0 RGB .. 3 YCbCr420, 4 IDO-defined, 5 reserved
    int Colorimetry = 0;      // 0..3
    int ItContent = 0;        // 0 or 1
    // 0..6, 7 reserved, or packet_none_marker when Colorimetry is not 3
    int ExtColorimetry = packet_none_marker;
    int Vic = 0;              // 0..255
    int PixelRepetition = 0;  // factor 1..10 once a packet has set it

    // AIF
    std::string CodingTypeText;
    std::string ChannelCountText;
    std::string SampleRateText;
    std::string SampleSizeText;
    std::string ExtCodingTypeText;
    std::string SpeakerPlacementText;
    std::string DownMixText;

    // GCP
    int AvMute = 0;      // 0 clear, 1 set, 2 neither
    int ColorDepth = 0;  // 0 not indicated, 8/10/12/16, or packet_none_marker for reserved

    // SPD
    std::string VendorName;
    std::string ProductDescription;
    std::string SourceDeviceText;

    // VSI
    std::string IeeeIdText;
    std::string VideoFormatText;
    std::string ThreeDStructureText;
    int HdmiVic = 0;  // 0..255, or packet_none_marker when the format carries none

    // DRM
    std::string EotfText;
    std::string MetadataText;
    std::int32_t MaxContentLightLevel = 0;
    std::int32_t MaxFrameAverageLightLevel = 0;
};

}  // namespace t27
