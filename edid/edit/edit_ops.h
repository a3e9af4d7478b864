#pragma once
// Edits of the editor's model that the window and "t27ctl edid edit" share.
// Each is all or nothing: when it cannot be made, the model is unchanged and
// the result says why. Additions go into the first CTA-861 block (the one
// that already holds such a data block, if any); settings and removals reach
// every CTA-861 block that holds the data block.
#include <string>
#include <vector>

#include "edid/edit/edit_model.h"
#include "edid/edit/edit_schema.h"
#include "edid/edit/timing_table.h"

namespace t27 {

struct PartRef {
    int block = -1;
    int part = -1;
    bool found() const { return block >= 0; }
};

// The base block's part of that role.
PartRef base_part(const EdidModel& m, EdidPartRole role);
// Every data block of that kind, in image order.
std::vector<PartRef> data_blocks_of(const EdidModel& m, DataBlockKind kind);
// The first CTA-861 block, -1 when the image has none.
int first_cta_block(const EdidModel& m);

// Sets the field `key` of a part (or of the part's list item at `item`).
EdidEdit set_field(EdidModel& m, PartRef at, const EdidField& f, long long shown);
EdidEdit set_field_text(EdidModel& m, PartRef at, const EdidField& f, const std::string& text);
EdidEdit set_field_by_key(EdidModel& m, PartRef at, const std::string& key, long long shown);

EdidEdit edit_monitor_name(EdidModel& m, const std::string& name);
EdidEdit edit_manufacturer(EdidModel& m, const std::string& letters);

EdidEdit edit_add_vics(EdidModel& m, const std::vector<int>& vics);
EdidEdit edit_remove_vics(EdidModel& m, const std::vector<int>& vics);
EdidEdit edit_native_vic(EdidModel& m, int vic);
// The short video descriptors of a video or YCbCr 4:2:0 video data block
// become exactly `codes` (native flags included), in that order.
EdidEdit edit_set_svds(EdidModel& m, PartRef at, const std::vector<int>& codes);
// The descriptor codes a video or YCbCr 4:2:0 video data block holds.
std::vector<int> svd_codes(const EdidPart& part);

// A small valid data block of that kind, for the editor's "add".
std::string data_block_template(DataBlockKind kind);
// An empty 18-byte CTA timing area is filled with this timing.
EdidEdit edit_add_cta_timing(EdidModel& m, int b, const VideoTiming& t);

EdidEdit edit_max_tmds_mhz(EdidModel& m, int mhz);
EdidEdit edit_max_tmds_rate_mhz(EdidModel& m, int mhz);
EdidEdit edit_hdr_static(EdidModel& m, bool on);
// `sads` are 3-byte short audio descriptors; the audio data block holds
// exactly these afterwards.
EdidEdit edit_audio(EdidModel& m, const std::vector<std::string>& sads);
// "lpcm:8:48,96,192:16,20,24" -> one short audio descriptor.
EdidEdit parse_audio_option(const std::string& option, std::string& sad);
// Removes every data block of that kind: a key of data_block_types()
// ("audio", "hdr-static", ...) or a tag number ("4", "7:6" for an extended tag).
EdidEdit edit_remove_data_blocks(EdidModel& m, const std::string& tag);

// Puts a timing into an 18-byte descriptor or CTA timing; image size and
// borders stay when the part already was a timing.
EdidEdit edit_timing(EdidModel& m, PartRef at, const VideoTiming& t);
// Turns a descriptor into an empty one of another kind.
EdidEdit edit_descriptor_kind(EdidModel& m, PartRef at, DescriptorKind kind);

// A decimal number of up to 12 digits, nothing else.
bool edid_parse_number(const std::string& s, long long& v);
// The pieces of `s` between the separators: "16,4" -> "16", "4"; "" -> "".
std::vector<std::string> edid_split(const std::string& s, char sep);

// VICs a short video descriptor can name: 1-127 and 193-219.
bool edid_vic_known(int vic);

// The VIC positions (0-based) an HDMI vendor block's 3D_MASK bits and
// 2D_VIC_order entries name.
std::vector<int> hdmi_3d_vic_positions(const std::string& hdmi_block);

// Why the image is no EDID to edit unless the user insists: block 0's
// header is not 00 FF FF FF FF FF FF 00. Empty when it is.
std::string edid_edit_header_fault(const EdidModel& m);

// The TMDS rate an HDMI sink takes, in MHz: 165 unless its vendor block says
// otherwise; a Forum block's rate, when given, is the higher limit. 0 for a
// sink without an HDMI vendor block.
int edid_max_tmds_mhz(const EdidModel& m);

// Lines worth a look that are not refusals: a VIC the sink's TMDS rate
// cannot carry, HDR metadata without BT.2020 colorimetry.
std::vector<std::string> edid_model_warnings(const EdidModel& m);

}  // namespace t27
