#pragma once
// What each part of the editor's model means: its label, the fields it holds
// and the items listed inside it (audio descriptors, VICs). Fields a part is
// too short to hold are left out; the bytes no field covers stay raw.
#include <string>
#include <vector>

#include "edid/cea_blocks.h"  // svd_decode, svd_encode
#include "edid/edit/edit_field.h"
#include "edid/edit/edit_model.h"

namespace t27 {

enum class DataBlockKind {
    audio,
    video,
    hdmi,        // vendor-specific, HDMI OUI
    hdmi_forum,  // vendor-specific, HDMI Forum OUI
    vendor,      // vendor-specific, any other OUI
    speaker,
    video_capability,
    colorimetry,
    hdr_static,
    y420_video,
    y420_map,
    other,
};

struct DataBlockType {
    DataBlockKind kind;
    const char* key;    // "--remove-block audio", JSON
    const char* label;  // tree
    int tag;
    int ext_tag;  // -1: not an extended tag
};

const std::vector<DataBlockType>& data_block_types();
const DataBlockType& data_block_type(DataBlockKind kind);
DataBlockKind data_block_kind(const std::string& bytes);

enum class DescriptorKind {
    timing,
    monitor_name,
    serial_text,
    data_text,
    range_limits,
    dummy,
    other
};

struct DescriptorType {
    DescriptorKind kind;
    int tag;  // byte 3 of a display descriptor; -1 for a timing and for "other"
    const char* label;
    const char* key;
};

// Every kind, the ones the editor can make first and "other" last.
const std::vector<DescriptorType>& descriptor_types();
const DescriptorType& descriptor_type(DescriptorKind kind);
DescriptorKind descriptor_kind(const std::string& bytes);
const char* descriptor_kind_label(DescriptorKind kind);

std::string block_label(const EdidModel& m, int b);
std::string part_label(const EdidModel& m, int b, int p);
// Short key of a part for scripts: "vendor", "descriptor_2", "video", "timing_1".
std::string part_key(const EdidModel& m, int b, int p);

std::vector<EdidField> part_fields(const EdidPart& part);

// An item listed inside a part, with its own fields.
struct EdidListItem {
    std::string label;
    int offset = 0;  // within the part
    int size = 0;
    std::vector<EdidField> fields;
};
std::vector<EdidListItem> part_list_items(const EdidPart& part);

// The fields of an 18-byte detailed timing at `at` within a part.
std::vector<EdidField> timing_fields(int at);
// What a display engineer reads off a detailed timing at `at`: "148.50 MHz,
// 60.00 Hz, 67.50 kHz" (pixel clock, refresh and line rate). Empty when the
// timing has no clock or no totals.
std::string timing_rates(const std::string& bytes, int at);

// Bytes of the part that no field or list item covers.
std::vector<bool> part_raw_bytes(const EdidPart& part);

// Names of standard values, shared by the form and the command line.
const std::vector<std::string>& audio_format_names();
const std::vector<std::string>& audio_rate_names();  // bit 0 first: "32 kHz" ...

// "VIC 16: 1920x1080p 59/60 16:9", names from the program's VIC table.
std::string vic_label(int vic);

}  // namespace t27
