#pragma once
// What the edits of edit_ops.cpp, edit_ops_base.cpp and edit_ops_cta.cpp share.
#include <initializer_list>
#include <optional>
#include <vector>
#include <string>
#include <utility>

#include "edid/edit/edit_ops.h"

namespace t27 {

inline std::string bytes_of(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

// Runs `edit` on a copy and keeps the copy only when every step succeeded.
template <typename Edit>
EdidEdit all_or_nothing(EdidModel& m, Edit edit) {
    EdidModel work = m;
    EdidEdit r = edit(work);
    if (r.ok()) m = std::move(work);
    return r;
}


// ---- the CTA block's data blocks and short video descriptors (edit_ops_cta.cpp) ----

inline const char* const no_cta = "the image has no CTA-861 extension to hold it";

// The data blocks of `kind` in block `b`.
std::vector<PartRef> data_blocks_in(const EdidModel& m, int b, DataBlockKind kind);
// The block an addition goes to: the first CTA block holding that kind of
// data block, else the first CTA block.
int target_block(const EdidModel& m, DataBlockKind kind);

struct SvdSlot {
    int part;       // the video data block holding it
    int code;       // descriptor byte
    int old_index;  // position among the block's descriptors before the edit, -1 when new
};

// Where each descriptor position of the block went: -1 for a removed one.
struct SvdMove {
    std::vector<int> new_of_old;
    int old_count = 0;
    int new_count = 0;

    // A position an index or bit names afterwards, -1 when it names nothing.
    // One already past the last descriptor is kept where it is while it stays
    // past it, and must not come to name a VIC that was not there.
    int place(int old) const {
        if (old < old_count) return new_of_old[static_cast<std::size_t>(old)];
        return old >= new_count ? old : old + new_count - old_count;
    }
};

// The 3D part of an HDMI vendor block: where its optional fields sit.
struct Hdmi3d {
    int flags_at = -1;  // 3D_present, 3D_Multi_present, image size
    int start = 0;      // first 3D byte
    int length = 0;     // HDMI_3D_LEN, cut to the block
    bool has_mask = false;
    int entries_at = 0;  // first 2D_VIC_order entry
};

std::vector<SvdSlot> svd_slots(const EdidModel& m, int b);

SvdMove svd_move(int old_count, const std::vector<SvdSlot>& slots);

std::optional<Hdmi3d> hdmi_3d(const std::string& b);

// The HDMI vendor block's 3D mask and entries follow the descriptors; an
// entry of a removed VIC goes with it.
EdidEdit move_hdmi_3d(EdidModel& m, int b, const SvdMove& mv, const std::vector<int>& old_vics);

// The 4:2:0 capability map names descriptors by position, so its bits move
// with them.
EdidEdit move_y420_map(EdidModel& m, int b, const SvdMove& mv);

std::vector<int> vics_of(const std::vector<SvdSlot>& slots);

// Warns of each reference that now names a VIC no video data block lists:
// an HDMI VIC whose VIC went, a capability map without any VIC.
void warn_dangling(EdidModel& m, int b, const std::vector<int>& before,
                   const std::vector<int>& after);

// Writes the descriptors back into their video data blocks; whatever names
// them by position follows.
EdidEdit write_svds(EdidModel& m, int b, const std::vector<SvdSlot>& slots);

// Takes the VICs `vics` out of every YCbCr 4:2:0 video data block; `taken`
// lists those that were there. A block left empty goes.
EdidEdit take_y420_only(EdidModel& m, const std::vector<int>& vics, std::vector<int>& taken);

// Sets the 4:2:0 capability bit of each VIC of `vics` in block b, making
// the map or its bytes as needed.
EdidEdit mark_y420_capable(EdidModel& m, int b, const std::vector<int>& vics);

// Sets a flag of CTA block b's byte 3 and notes it when it was clear.
EdidEdit set_cta_flag(EdidModel& m, int b, int flag, const char* name);

// Whether a DisplayID extension's CTA data block holds HDR static metadata.
bool displayid_has_hdr(const std::string& bytes);

// "; block 2 (DisplayID) holds one ..." when HDR static metadata sits in an
// extension the editor keeps raw.
std::string hdr_elsewhere(const EdidModel& m);

EdidEdit check_vics(const std::vector<int>& vics);

// The block for a VIC addition. One without a video data block gets one
// holding `codes` (so a refusal counts every byte the VICs need); `made`
// says so.
EdidEdit video_block(EdidModel& m, const std::vector<int>& codes, int& b, bool& made);

}  // namespace t27
