#pragma once
// One EDID side (READ, WRITE or the working copy the check runs on): the image
// bytes plus what the last check and base-block decode found in them.
#include <array>
#include <cstdint>
#include <string>

namespace t27 {

inline constexpr int edid_block_bytes = 128;
inline constexpr int edid_max_blocks = 4;
// One byte more than four blocks: the image never uses index 512, but the
// buffer has always been this long and loaders are measured against it.
inline constexpr int edid_data_bytes = 513;

// Small codes use 254 for "none" or "not decided yet".
inline constexpr int edid_none = 254;

enum EdidTypeCode : int {
    edid_type_invalid = 0,
    edid_type_analog = 1,
    edid_type_dvi = 2,
    edid_type_hdmi = 3
};

// type_detail when the type code is edid_type_invalid ...
enum EdidErrorKind : int {
    edid_error_header = 0,
    edid_error_checksum = 1,
    edid_error_block_count = 2
};
// ... and when it is edid_type_hdmi.
enum EdidHdmiClass : int { edid_hdmi_hd = 0, edid_hdmi_3g = 1, edid_hdmi_6g = 2 };

struct EdidBuffer {
    std::array<std::uint8_t, 5> checksums{};
    int block_count = 0;
    std::array<std::uint8_t, edid_data_bytes> data{};
    int type_code = edid_none;
    int type_detail = edid_none;
    int size = 0;
    std::string manufacturer;
    std::string monitor_name;

    // First detailed timing of block 0, filled by the base-block decode.
    bool has_first_timing = false;
    int h_active = 0;
    int v_active = 0;
    bool interlaced = false;
    int pixel_clock = 0;  // 10 kHz units
    float refresh_rate = 0.0f;

    int byte(int index) const {
        return index >= 0 && index < edid_data_bytes ? data[static_cast<std::size_t>(index)] : 0;
    }
};

inline constexpr std::array<std::uint8_t, 8> edid_header = {0x00, 0xFF, 0xFF, 0xFF,
                                                            0xFF, 0xFF, 0xFF, 0x00};

// Stores `bytes` at indices 0, 1, 2, ... and sets `size`; bytes past the end of
// the buffer are never stored. Returns false when `bytes` did not fit.
bool edid_store(EdidBuffer& buf, const std::string& bytes);

}  // namespace t27
