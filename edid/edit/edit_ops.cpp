#include "edid/edit/edit_ops.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>

#include "edid/cea_blocks.h"
#include "edid/edit/edit_ops_parts.h"
#include "edid/vic_names.h"

namespace t27 {

namespace {

std::vector<PartRef> data_blocks_in(const EdidModel& m, int b, DataBlockKind kind) {
    std::vector<PartRef> out;
    if (b < 0 || b >= m.block_count() || !m.block(b).is_cta()) return out;
    const auto& parts = m.block(b).parts;
    for (int p = 0; p < static_cast<int>(parts.size()); ++p) {
        const EdidPart& part = parts[static_cast<std::size_t>(p)];
        if (part.role == EdidPartRole::data_block && data_block_kind(part.bytes) == kind)
            out.push_back({b, p});
    }
    return out;
}

// The block an addition goes to: the first CTA block holding that kind of
// data block, else the first CTA block.
int target_block(const EdidModel& m, DataBlockKind kind) {
    const auto found = data_blocks_of(m, kind);
    return found.empty() ? first_cta_block(m) : found.front().block;
}

const char* const no_cta = "the image has no CTA-861 extension to hold it";

// ---- short video descriptors -------------------------------------------------------------

struct SvdSlot {
    int part;       // the video data block holding it
    int code;       // descriptor byte
    int old_index;  // position among the block's descriptors before the edit, -1 when new
};

std::vector<SvdSlot> svd_slots(const EdidModel& m, int b) {
    std::vector<SvdSlot> slots;
    for (const PartRef& r : data_blocks_in(m, b, DataBlockKind::video)) {
        const std::string& bytes = m.part(b, r.part).bytes;
        for (int k = 1; k < static_cast<int>(bytes.size()); ++k)
            slots.push_back({r.part, part_byte(bytes, k), static_cast<int>(slots.size())});
    }
    return slots;
}

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

SvdMove svd_move(int old_count, const std::vector<SvdSlot>& slots) {
    SvdMove mv;
    mv.old_count = old_count;
    mv.new_count = static_cast<int>(slots.size());
    mv.new_of_old.assign(static_cast<std::size_t>(old_count), -1);
    for (std::size_t j = 0; j < slots.size(); ++j)
        if (slots[j].old_index >= 0 && slots[j].old_index < old_count)
            mv.new_of_old[static_cast<std::size_t>(slots[j].old_index)] = static_cast<int>(j);
    return mv;
}

// The 3D part of an HDMI vendor block: where its optional fields sit.
struct Hdmi3d {
    int flags_at = -1;  // 3D_present, 3D_Multi_present, image size
    int start = 0;      // first 3D byte
    int length = 0;     // HDMI_3D_LEN, cut to the block
    bool has_mask = false;
    int entries_at = 0;  // first 2D_VIC_order entry
};

std::optional<Hdmi3d> hdmi_3d(const std::string& b) {
    const int size = static_cast<int>(b.size());
    if (size < 9) return std::nullopt;
    const int b8 = part_byte(b, 8);
    int o = 9;
    if (b8 & 0x80) o += (b8 & 0x40) ? 4 : 2;
    if (!(b8 & 0x20) || o + 2 > size) return std::nullopt;
    Hdmi3d h;
    h.flags_at = o;
    h.start = o + 2 + (part_byte(b, o + 1) >> 5);
    h.length = std::max(0, std::min(part_byte(b, o + 1) & 0x1F, size - h.start));
    const int multi = (part_byte(b, o) >> 5) & 3;
    h.has_mask = multi == 2;
    h.entries_at = h.start + (multi == 1 ? 2 : multi == 2 ? 4 : 0);
    if (h.entries_at > h.start + h.length) return std::nullopt;
    return h;
}

// The HDMI vendor block's 3D mask and entries follow the descriptors; an
// entry of a removed VIC goes with it.
EdidEdit move_hdmi_3d(EdidModel& m, int b, const SvdMove& mv, const std::vector<int>& old_vics) {
    const auto vic_at = [&old_vics](int i) {
        return i < static_cast<int>(old_vics.size())
                   ? vic_label(old_vics[static_cast<std::size_t>(i)])
                   : "position " + std::to_string(i + 1);
    };
    // What named a removed VIC goes with it; what would name one past the
    // 16th cannot be said.
    const auto lost = [&m](const std::string& what, int j) {
        if (j < 0) {
            m.note("HDMI vendor block: " + what + " goes with it");
        } else {
            m.warn("HDMI vendor block: " + what + " is dropped: 3D names the first 16 VICs only");
        }
    };
    for (const PartRef& r : data_blocks_in(m, b, DataBlockKind::hdmi)) {
        const std::string& old = m.part(b, r.part).bytes;
        const auto h = hdmi_3d(old);
        if (!h) continue;
        std::string bytes = old.substr(0, static_cast<std::size_t>(h->entries_at));
        if (h->has_mask) {
            const int mask = part_byte(old, h->start + 2) << 8 | part_byte(old, h->start + 3);
            int moved = 0;
            for (int i = 0; i < 16; ++i) {
                if (!((mask >> i) & 1)) continue;
                const int j = mv.place(i);
                if (j >= 0 && j < 16) {
                    moved |= 1 << j;
                } else {
                    lost("the 3D_MASK bit of " + vic_at(i), j);
                }
            }
            bytes[static_cast<std::size_t>(h->start + 2)] = static_cast<char>(moved >> 8);
            bytes[static_cast<std::size_t>(h->start + 3)] = static_cast<char>(moved & 0xFF);
        }
        const int end = h->start + h->length;
        for (int at = h->entries_at; at < end;) {
            const int size = (part_byte(old, at) & 0x0F) >= 8 ? 2 : 1;
            const int i = part_byte(old, at) >> 4;
            const int j = mv.place(i);
            if (j >= 0 && j < 16) {
                bytes += static_cast<char>((j << 4) | (part_byte(old, at) & 0x0F));
                if (size == 2) bytes += old.substr(static_cast<std::size_t>(at + 1), 1);
            } else {
                lost("the 3D entry of " + vic_at(i), j);
            }
            at += size;
        }
        if (end < static_cast<int>(old.size())) bytes += old.substr(static_cast<std::size_t>(end));
        const int length =
            h->length - (static_cast<int>(old.size()) - static_cast<int>(bytes.size()));
        bytes[static_cast<std::size_t>(h->flags_at + 1)] =
            static_cast<char>((part_byte(old, h->flags_at + 1) & 0xE0) | length);
        if (bytes != old)
            if (EdidEdit e = m.replace(b, r.part, bytes); !e.ok()) return e;
    }
    return {};
}

// The 4:2:0 capability map names descriptors by position, so its bits move
// with them.
EdidEdit move_y420_map(EdidModel& m, int b, const SvdMove& mv) {
    const auto maps = data_blocks_in(m, b, DataBlockKind::y420_map);
    // From the last, so that a removal leaves the others' places alone.
    for (auto r = maps.rbegin(); r != maps.rend(); ++r) {
        const std::string old = m.part(b, r->part).bytes;
        if (old.size() <= 2) continue;  // an empty map covers every descriptor
        std::string map = old;
        for (std::size_t k = 2; k < map.size(); ++k) map[k] = 0;
        for (int i = 0; i < 8 * (static_cast<int>(old.size()) - 2); ++i) {
            if (!((part_byte(old, 2 + i / 8) >> (i % 8)) & 1)) continue;
            const int j = mv.place(i);
            if (j < 0) continue;
            if (2 + j / 8 < static_cast<int>(map.size())) {
                map[static_cast<std::size_t>(2 + j / 8)] |= static_cast<char>(1 << (j % 8));
            } else {
                m.warn("YCbCr 4:2:0 capability map: the bit of position " + std::to_string(i + 1) +
                       " is dropped: the map has no bit for position " + std::to_string(j + 1));
            }
        }
        if (map == old) continue;
        // A map without a bit reads as a fault; one whose VICs all went goes too.
        if (map.find_first_not_of('\0', 2) == std::string::npos) {
            m.note("the YCbCr 4:2:0 capability map of block " + std::to_string(b) +
                   " is removed: none of its VICs is left");
            if (EdidEdit e = m.remove(b, r->part); !e.ok()) return e;
            continue;
        }
        if (EdidEdit e = m.replace(b, r->part, map); !e.ok()) return e;
    }
    return {};
}

std::vector<int> vics_of(const std::vector<SvdSlot>& slots) {
    std::vector<int> vics;
    for (const SvdSlot& s : slots) vics.push_back(svd_decode(s.code).vic);
    return vics;
}

// HDMI VIC codes 1-4 and the VICs they stand for.
const int hdmi_vic_equivalent[] = {0, 95, 94, 93, 98};

// Warns of each reference that now names a VIC no video data block lists:
// an HDMI VIC whose VIC went, a capability map without any VIC.
void warn_dangling(EdidModel& m, int b, const std::vector<int>& before,
                   const std::vector<int>& after) {
    const auto listed = [](const std::vector<int>& v, int vic) {
        return std::find(v.begin(), v.end(), vic) != v.end();
    };
    for (const PartRef& r : data_blocks_in(m, b, DataBlockKind::hdmi)) {
        const std::string& h = m.part(b, r.part).bytes;
        const auto d3 = hdmi_3d(h);
        if (!d3) continue;
        for (int k = d3->flags_at + 2; k < d3->start && k < static_cast<int>(h.size()); ++k) {
            const int code = part_byte(h, k);
            if (code < 1 || code > 4) continue;
            const int vic = hdmi_vic_equivalent[code];
            if (listed(before, vic) && !listed(after, vic))
                m.warn("HDMI VIC " + std::to_string(code) + " stands for " + vic_label(vic) +
                       ", which no video data block lists now");
        }
    }
    if (!before.empty() && after.empty() && !data_blocks_in(m, b, DataBlockKind::y420_map).empty())
        m.warn("the YCbCr 4:2:0 capability map of block " + std::to_string(b) +
               " names VICs by position, and no video data block lists any now");
}

// Writes the descriptors back into their video data blocks; whatever names
// them by position follows.
EdidEdit write_svds(EdidModel& m, int b, const std::vector<SvdSlot>& slots) {
    const std::vector<SvdSlot> old = svd_slots(m, b);
    for (const PartRef& r : data_blocks_in(m, b, DataBlockKind::video)) {
        std::string bytes = m.part(b, r.part).bytes.substr(0, 1);
        for (const SvdSlot& s : slots)
            if (s.part == r.part) bytes += static_cast<char>(s.code);
        if (bytes.size() > 32) return {"a video data block holds at most 31 VICs"};
        if (EdidEdit e = m.replace(b, r.part, bytes); !e.ok()) return e;
    }
    const SvdMove mv = svd_move(static_cast<int>(old.size()), slots);
    if (EdidEdit e = move_y420_map(m, b, mv); !e.ok()) return e;
    if (EdidEdit e = move_hdmi_3d(m, b, mv, vics_of(old)); !e.ok()) return e;
    warn_dangling(m, b, vics_of(old), vics_of(slots));
    const auto native = [](const SvdSlot& s) { return svd_decode(s.code).native; };
    const auto was = std::find_if(old.begin(), old.end(), native);
    if (was != old.end() && std::none_of(slots.begin(), slots.end(), native))
        m.warn("no VIC of block " + std::to_string(b) + " is marked native now; " +
               vic_label(svd_decode(was->code).vic) + " was");
    return {};
}

// Takes the VICs `vics` out of every YCbCr 4:2:0 video data block; `taken`
// lists those that were there. A block left empty goes.
EdidEdit take_y420_only(EdidModel& m, const std::vector<int>& vics, std::vector<int>& taken) {
    const auto blocks = data_blocks_of(m, DataBlockKind::y420_video);
    for (auto r = blocks.rbegin(); r != blocks.rend(); ++r) {
        const std::string& old = m.part(r->block, r->part).bytes;
        std::string bytes = old.substr(0, 2);
        for (std::size_t k = 2; k < old.size(); ++k) {
            const int vic = svd_decode(part_byte(old, static_cast<int>(k))).vic;
            if (std::find(vics.begin(), vics.end(), vic) == vics.end()) {
                bytes += old[k];
            } else if (std::find(taken.begin(), taken.end(), vic) == taken.end()) {
                taken.push_back(vic);
            }
        }
        if (bytes == old) continue;
        EdidEdit e =
            bytes.size() > 2 ? m.replace(r->block, r->part, bytes) : m.remove(r->block, r->part);
        if (!e.ok()) return e;
    }
    return {};
}

// Sets the 4:2:0 capability bit of each VIC of `vics` in block b, making
// the map or its bytes as needed.
EdidEdit mark_y420_capable(EdidModel& m, int b, const std::vector<int>& vics) {
    if (vics.empty()) return {};
    const std::vector<SvdSlot> slots = svd_slots(m, b);
    const auto maps = data_blocks_in(m, b, DataBlockKind::y420_map);
    std::string map = maps.empty() ? data_block_template(DataBlockKind::y420_map)
                                   : m.part(b, maps.front().part).bytes;
    const bool covers_all = !maps.empty() && map.size() <= 2;
    for (int v : vics) {
        for (std::size_t j = 0; j < slots.size() && !covers_all; ++j) {
            if (svd_decode(slots[j].code).vic != v) continue;
            if (map.size() < 3 + j / 8) map.resize(3 + j / 8, '\0');
            map[2 + j / 8] =
                static_cast<char>(part_byte(map, static_cast<int>(2 + j / 8)) | (1 << (j % 8)));
        }
        m.note(vic_label(v) +
               " moves from the YCbCr 4:2:0 video data block into the video data block, "
               "marked 4:2:0-capable in the capability map");
    }
    if (covers_all) return {};
    if (maps.empty()) return m.insert_data_block(b, map);
    return m.replace(b, maps.front().part, map);
}

// Sets a flag of CTA block b's byte 3 and notes it when it was clear.
EdidEdit set_cta_flag(EdidModel& m, int b, int flag, const char* name) {
    const std::string& header = m.part(b, 0).bytes;
    if (part_byte(header, 1) < 2 || (part_byte(header, 3) & flag)) return {};
    std::string bytes = header;
    bytes[3] = static_cast<char>(part_byte(bytes, 3) | flag);
    m.note("CTA-861 header of block " + std::to_string(b) + ": " + name + " set");
    return m.replace(b, 0, bytes);
}

// Whether a DisplayID extension's CTA data block holds HDR static metadata.
bool displayid_has_hdr(const std::string& bytes) {
    if (part_byte(bytes, 0) != 0x70) return false;
    const int end = std::min(5 + part_byte(bytes, 2), edid_block_body);
    for (int at = 5; at + 3 <= end; at += 3 + part_byte(bytes, at + 2)) {
        if (part_byte(bytes, at) != 0x81) continue;
        const int stop = std::min(at + 3 + part_byte(bytes, at + 2), end);
        for (int k = at + 3; k < stop; k += 1 + (part_byte(bytes, k) & 0x1F))
            if ((part_byte(bytes, k) >> 5) == 7 && part_byte(bytes, k + 1) == 6) return true;
    }
    return false;
}

// "; block 2 (DisplayID) holds one ..." when HDR static metadata sits in an
// extension the editor keeps raw.
std::string hdr_elsewhere(const EdidModel& m) {
    for (int b = 1; b < m.block_count(); ++b)
        if (!m.block(b).is_cta() && displayid_has_hdr(m.block(b).bytes()))
            return "; block " + std::to_string(b) +
                   " (DisplayID) holds one, which the editor keeps as it is";
    return "";
}

EdidEdit check_vics(const std::vector<int>& vics) {
    for (int v : vics)
        if (!edid_vic_known(v))
            return {"VIC " + std::to_string(v) + " does not exist (1-127, 193-219)"};
    return {};
}

// The block for a VIC addition. One without a video data block gets one
// holding `codes` (so a refusal counts every byte the VICs need); `made`
// says so.
EdidEdit video_block(EdidModel& m, const std::vector<int>& codes, int& b, bool& made) {
    b = target_block(m, DataBlockKind::video);
    made = false;
    if (b < 0) return {std::string("cannot add a VIC: ") + no_cta};
    if (!data_blocks_in(m, b, DataBlockKind::video).empty()) return {};
    std::string bytes = bytes_of({0x40});
    for (int c : codes) bytes += static_cast<char>(c);
    made = true;
    return m.insert_data_block(b, bytes, 0);
}

// ---- audio ---------------------------------------------------------------------------------

struct AudioFormatName {
    const char* name;
    int code;
};

const AudioFormatName audio_formats[] = {
    {"lpcm", 1}, {"ac3", 2},     {"mpeg1", 3},   {"mp3", 4},  {"mpeg2", 5}, {"aac", 6},
    {"dts", 7},  {"atrac", 8},   {"one-bit", 9}, {"dsd", 9},  {"eac3", 10}, {"dts-hd", 11},
    {"mat", 12}, {"truehd", 12}, {"dst", 13},    {"wma", 14},
};

// ---- tags ------------------------------------------------------------------------------------

bool tag_matches(const std::string& tag, const std::string& bytes) {
    const DataBlockKind kind = data_block_kind(bytes);
    for (const DataBlockType& t : data_block_types())
        if (tag == t.key && t.kind != DataBlockKind::other) return kind == t.kind;
    const std::vector<std::string> parts = edid_split(tag, ':');
    long long n = 0;
    long long ext = 0;
    if (parts.size() == 1 && edid_parse_number(parts[0], n)) return (part_byte(bytes, 0) >> 5) == n;
    if (parts.size() == 2 && edid_parse_number(parts[0], n) && n == 7 &&
        edid_parse_number(parts[1], ext))
        return (part_byte(bytes, 0) >> 5) == 7 && bytes.size() >= 2 && part_byte(bytes, 1) == ext;
    return false;
}

bool tag_known(const std::string& tag) {
    for (const DataBlockType& t : data_block_types())
        if (tag == t.key && t.kind != DataBlockKind::other) return true;
    const std::vector<std::string> parts = edid_split(tag, ':');
    long long n = 0;
    long long ext = 0;
    if (parts.size() == 1 && edid_parse_number(parts[0], n)) return n >= 1 && n <= 7;
    return parts.size() == 2 && edid_parse_number(parts[0], n) && n == 7 &&
           edid_parse_number(parts[1], ext) && ext <= 255;
}

std::string padded(std::string bytes, std::size_t size) {
    if (bytes.size() < size) bytes.resize(size, '\0');
    return bytes;
}

}  // namespace

// ---- lookups -------------------------------------------------------------------------------

std::vector<PartRef> data_blocks_of(const EdidModel& m, DataBlockKind kind) {
    std::vector<PartRef> out;
    for (int b = 1; b < m.block_count(); ++b) {
        const auto in = data_blocks_in(m, b, kind);
        out.insert(out.end(), in.begin(), in.end());
    }
    return out;
}

int first_cta_block(const EdidModel& m) {
    for (int b = 1; b < m.block_count(); ++b)
        if (m.block(b).is_cta()) return b;
    return -1;
}

// ---- VICs ----------------------------------------------------------------------------------

std::vector<int> svd_codes(const EdidPart& part) {
    std::vector<int> codes;
    const int first = data_block_kind(part.bytes) == DataBlockKind::y420_video ? 2 : 1;
    for (int k = first; k < static_cast<int>(part.bytes.size()); ++k)
        codes.push_back(part_byte(part.bytes, k));
    return codes;
}

EdidEdit edit_add_vics(EdidModel& m, const std::vector<int>& vics) {
    if (EdidEdit e = check_vics(vics); !e.ok()) return e;
    return all_or_nothing(m, [&vics](EdidModel& w) -> EdidEdit {
        std::vector<int> unique;
        for (int v : vics)
            if (std::find(unique.begin(), unique.end(), v) == unique.end()) unique.push_back(v);
        // A VIC listed 4:2:0-only would then be both: it moves into the video
        // data block and is marked 4:2:0-capable there instead.
        std::vector<int> moved;
        if (EdidEdit e = take_y420_only(w, unique, moved); !e.ok()) return e;
        int b = -1;
        bool made = false;
        if (EdidEdit e = video_block(w, unique, b, made); !e.ok()) return e;
        if (!made) {
            std::vector<SvdSlot> slots = svd_slots(w, b);
            const int first_vdb = data_blocks_in(w, b, DataBlockKind::video).front().part;
            for (int v : unique) {
                const bool there = std::any_of(slots.begin(), slots.end(), [v](const SvdSlot& s) {
                    return svd_decode(s.code).vic == v;
                });
                if (there) continue;
                // After the first video data block's last descriptor.
                auto at = slots.begin();
                for (auto it = slots.begin(); it != slots.end(); ++it)
                    if (it->part == first_vdb) at = it + 1;
                slots.insert(at, SvdSlot{first_vdb, svd_encode(v, false), -1});
            }
            if (EdidEdit e = write_svds(w, b, slots); !e.ok()) return e;
        }
        return mark_y420_capable(w, b, moved);
    });
}

EdidEdit edit_remove_vics(EdidModel& m, const std::vector<int>& vics) {
    if (EdidEdit e = check_vics(vics); !e.ok()) return e;
    return all_or_nothing(m, [&vics](EdidModel& w) -> EdidEdit {
        for (int v : vics) {
            bool removed = false;
            for (int b = 1; b < w.block_count(); ++b) {
                std::vector<SvdSlot> slots = svd_slots(w, b);
                const auto end = std::remove_if(slots.begin(), slots.end(), [v](const SvdSlot& s) {
                    return svd_decode(s.code).vic == v;
                });
                if (end == slots.end()) continue;
                slots.erase(end, slots.end());
                if (EdidEdit e = write_svds(w, b, slots); !e.ok()) return e;
                removed = true;
            }
            if (!removed) return {"VIC " + std::to_string(v) + " is in no video data block"};
        }
        return {};
    });
}

EdidEdit edit_native_vic(EdidModel& m, int vic) {
    if (EdidEdit e = check_vics({vic}); !e.ok()) return e;
    return all_or_nothing(m, [vic](EdidModel& w) -> EdidEdit {
        int b = -1;
        bool made = false;
        if (EdidEdit e = video_block(w, {svd_encode(vic, true)}, b, made); !e.ok() || made)
            return e;
        std::vector<SvdSlot> slots = svd_slots(w, b);
        const int first_vdb = data_blocks_in(w, b, DataBlockKind::video).front().part;
        SvdSlot native{first_vdb, svd_encode(vic, true), -1};
        for (auto it = slots.begin(); it != slots.end(); ++it) {
            if (svd_decode(it->code).vic == vic) {
                native.old_index = it->old_index;
                slots.erase(it);
                break;
            }
        }
        // Only one descriptor is the native format.
        for (SvdSlot& s : slots) s.code = svd_encode(svd_decode(s.code).vic, false);
        slots.insert(slots.begin(), native);
        return write_svds(w, b, slots);
    });
}

EdidEdit edit_set_svds(EdidModel& m, PartRef at, const std::vector<int>& codes) {
    const EdidPart& part = m.part(at.block, at.part);
    const DataBlockKind kind =
        part.role == EdidPartRole::data_block ? data_block_kind(part.bytes) : DataBlockKind::other;
    if (kind == DataBlockKind::y420_video) {
        std::string bytes = part.bytes.substr(0, 2);
        for (int c : codes) bytes += static_cast<char>(c);
        return m.replace(at.block, at.part, bytes);
    }
    if (kind != DataBlockKind::video) return {"not a video data block"};
    return all_or_nothing(m, [at, &codes](EdidModel& w) -> EdidEdit {
        const std::vector<SvdSlot> old = svd_slots(w, at.block);
        std::vector<SvdSlot> slots;
        for (const SvdSlot& s : old)
            if (s.part != at.part) slots.push_back(s);
        // The edited block's descriptors keep their place among the others'.
        std::vector<SvdSlot> mine;
        for (int code : codes) {
            int from = -1;
            for (const SvdSlot& s : old)
                if (s.part == at.part && svd_decode(s.code).vic == svd_decode(code).vic)
                    from = s.old_index;
            mine.push_back({at.part, code, from});
        }
        auto pos = std::find_if(slots.begin(), slots.end(),
                                [&at](const SvdSlot& s) { return s.part > at.part; });
        slots.insert(pos, mine.begin(), mine.end());
        return write_svds(w, at.block, slots);
    });
}

std::string data_block_template(DataBlockKind kind) {
    switch (kind) {
        case DataBlockKind::audio:
            return bytes_of({0x23, 0x09, 0x07, 0x07});  // LPCM 2 ch
        case DataBlockKind::video:
            return bytes_of({0x40});
        case DataBlockKind::hdmi:
            return bytes_of({0x65, 0x03, 0x0C, 0x00, 0x10, 0x00});
        case DataBlockKind::hdmi_forum:
            return bytes_of({0x67, 0xD8, 0x5D, 0xC4, 0x01, 0x78, 0x80, 0x00});
        case DataBlockKind::speaker:
            return bytes_of({0x83, 0x01, 0x00, 0x00});
        case DataBlockKind::video_capability:
            return bytes_of({0xE2, 0x00, 0x40});
        case DataBlockKind::colorimetry:
            return bytes_of({0xE3, 0x05, 0xC0, 0x00});
        case DataBlockKind::hdr_static:
            return bytes_of({0xE3, 0x06, 0x0D, 0x01});
        case DataBlockKind::y420_video:
            return bytes_of({0xE1, 0x0E});
        case DataBlockKind::y420_map:
            return bytes_of({0xE1, 0x0F});
        case DataBlockKind::vendor:
        case DataBlockKind::other:
            break;
    }
    return {};
}

EdidEdit edit_add_cta_timing(EdidModel& m, int b, const VideoTiming& t) {
    return all_or_nothing(m, [b, &t](EdidModel& w) -> EdidEdit {
        if (b < 1 || b >= w.block_count() || !w.block(b).is_cta())
            return {"block " + std::to_string(b) + " is not a CTA-861 extension"};
        std::vector<EdidPart> parts = w.block(b).parts;
        int last = 0;
        for (int p = 0; p < static_cast<int>(parts.size()); ++p) {
            const EdidPartRole role = parts[static_cast<std::size_t>(p)].role;
            if (role == EdidPartRole::data_block || role == EdidPartRole::collection ||
                role == EdidPartRole::cta_timing)
                last = p;
        }
        // A placeholder timing the real one then overwrites.
        std::string bytes(18, '\0');
        bytes[0] = 1;
        if (EdidEdit e = w.insert_timing(b, bytes, last); !e.ok()) return e;
        return edit_timing(w, {b, last + 1}, t);
    });
}

// ---- HDMI ----------------------------------------------------------------------------------

EdidEdit edit_max_tmds_mhz(EdidModel& m, int mhz) {
    if (mhz < 5 || mhz > 340 || mhz % 5 != 0)
        return {"the HDMI vendor block's max TMDS clock is 5 to 340 MHz in steps of 5, not " +
                std::to_string(mhz) + " (above 340 MHz: --max-tmds-rate-mhz)"};
    return all_or_nothing(m, [mhz](EdidModel& w) -> EdidEdit {
        const auto found = data_blocks_of(w, DataBlockKind::hdmi);
        if (found.empty()) return {"the image has no HDMI vendor block"};
        for (const PartRef& r : found) {
            std::string bytes = padded(w.part(r.block, r.part).bytes, 8);
            bytes[7] = static_cast<char>(mhz / 5);
            if (EdidEdit e = w.replace(r.block, r.part, bytes); !e.ok()) return e;
        }
        return {};
    });
}

EdidEdit edit_max_tmds_rate_mhz(EdidModel& m, int mhz) {
    if (mhz != 0 && (mhz < 345 || mhz > 600 || mhz % 5 != 0))
        return {
            "the HDMI Forum block's max TMDS character rate is 0 or 345 to 600 MHz in steps "
            "of 5, not " +
            std::to_string(mhz)};
    return all_or_nothing(m, [mhz](EdidModel& w) -> EdidEdit {
        const auto found = data_blocks_of(w, DataBlockKind::hdmi_forum);
        for (const PartRef& r : found) {
            std::string bytes = padded(w.part(r.block, r.part).bytes, 6);
            bytes[5] = static_cast<char>(mhz / 5);
            if (EdidEdit e = w.replace(r.block, r.part, bytes); !e.ok()) return e;
        }
        if (!found.empty()) return {};
        const auto hdmi = data_blocks_of(w, DataBlockKind::hdmi);
        if (hdmi.empty())
            return {
                "an HDMI Forum vendor block goes with an HDMI vendor block, and the image has "
                "none"};
        std::string bytes = data_block_template(DataBlockKind::hdmi_forum);
        bytes[5] = static_cast<char>(mhz / 5);
        // Above 340 MHz a source must scramble, which needs SCDC.
        bytes[6] = static_cast<char>(mhz > 340 ? 0x80 : 0x00);
        return w.insert_data_block(hdmi.front().block, bytes, hdmi.front().part);
    });
}

EdidEdit edit_hdr_static(EdidModel& m, bool on) {
    return all_or_nothing(m, [on](EdidModel& w) -> EdidEdit {
        const auto found = data_blocks_of(w, DataBlockKind::hdr_static);
        if (!on) {
            if (found.empty())
                return {"the image has no HDR static metadata block to remove" + hdr_elsewhere(w)};
            for (auto it = found.rbegin(); it != found.rend(); ++it)
                if (EdidEdit e = w.remove(it->block, it->part); !e.ok()) return e;
            return {};
        }
        // Traditional SDR, SMPTE ST 2084 and HLG; static metadata type 1.
        for (const PartRef& r : found) {
            std::string bytes = padded(w.part(r.block, r.part).bytes, 4);
            bytes[2] = static_cast<char>(part_byte(bytes, 2) | 0x0D);
            bytes[3] = static_cast<char>(part_byte(bytes, 3) | 0x01);
            if (EdidEdit e = w.replace(r.block, r.part, bytes); !e.ok()) return e;
        }
        if (!found.empty()) return {};
        const int b = first_cta_block(w);
        if (b < 0) return {std::string("cannot add HDR static metadata: ") + no_cta};
        return w.insert_data_block(b, data_block_template(DataBlockKind::hdr_static));
    });
}

// ---- audio ---------------------------------------------------------------------------------

EdidEdit parse_audio_option(const std::string& option, std::string& sad) {
    const std::vector<std::string> f = edid_split(option, ':');
    if (f.size() < 3 || f.size() > 4)
        return {"--audio takes FORMAT:CHANNELS:RATES[:SIZES], not \"" + option + "\""};
    int code = 0;
    for (const AudioFormatName& a : audio_formats)
        if (f[0] == a.name) code = a.code;
    if (code == 0) return {"unknown audio format \"" + f[0] + "\""};
    long long channels = 0;
    if (!edid_parse_number(f[1], channels) || channels < 1 || channels > 8)
        return {"audio channels are 1 to 8, not \"" + f[1] + "\""};
    int rates = 0;
    for (const std::string& r : edid_split(f[2], ',')) {
        int bit = -1;
        for (std::size_t i = 0; i < audio_rate_names().size(); ++i)
            if (r + " kHz" == audio_rate_names()[i]) bit = static_cast<int>(i);
        if (bit < 0)
            return {"unknown sample rate \"" + r + "\" (32, 44.1, 48, 88.2, 96, 176.4, 192)"};
        rates |= 1 << bit;
    }
    int third = 0;
    if (code == 1) {
        third = 1;  // 16 bit, which every LPCM sink takes
        if (f.size() == 4) {
            third = 0;
            for (const std::string& s : edid_split(f[3], ',')) {
                const int bit = s == "16" ? 0 : s == "20" ? 1 : s == "24" ? 2 : -1;
                if (bit < 0) return {"LPCM sample sizes are 16, 20 and 24, not \"" + s + "\""};
                third |= 1 << bit;
            }
        }
    } else if (code <= 8) {
        long long kbps = 0;
        if (f.size() != 4 || !edid_parse_number(f[3], kbps) || kbps < 8 || kbps > 2040 ||
            kbps % 8 != 0)
            return {f[0] + " needs its max bit rate in kb/s, a multiple of 8 up to 2040 (" + f[0] +
                    ":6:48:640)"};
        third = static_cast<int>(kbps / 8);
    } else if (f.size() == 4) {
        long long v = 0;
        if (!edid_parse_number(f[3], v) || v > 255)
            return {"the format's value byte is 0 to 255, not \"" + f[3] + "\""};
        third = static_cast<int>(v);
    }
    sad = bytes_of({(code << 3) | static_cast<int>(channels - 1), rates, third});
    return {};
}

EdidEdit edit_audio(EdidModel& m, const std::vector<std::string>& sads) {
    std::string bytes = bytes_of({0x20});
    for (const std::string& s : sads) bytes += s;
    if (bytes.size() > 32) return {"an audio data block holds at most 10 descriptors"};
    return all_or_nothing(m, [&bytes](EdidModel& w) -> EdidEdit {
        const auto found = data_blocks_of(w, DataBlockKind::audio);
        for (const PartRef& r : found)
            if (EdidEdit e = w.replace(r.block, r.part, bytes); !e.ok()) return e;
        if (found.empty()) {
            const int b = first_cta_block(w);
            if (b < 0) return {std::string("cannot add audio: ") + no_cta};
            const auto video = data_blocks_in(w, b, DataBlockKind::video);
            if (EdidEdit e = w.insert_data_block(b, bytes, video.empty() ? -1 : video.front().part);
                !e.ok())
                return e;
        }
        // A sink with audio descriptors takes basic audio, and says so in the header.
        // Byte 3 is the same in every CTA block.
        for (int b = 1; b < w.block_count(); ++b)
            if (w.block(b).is_cta())
                if (EdidEdit e = set_cta_flag(w, b, 0x40, "basic audio"); !e.ok()) return e;
        return {};
    });
}

EdidEdit edit_remove_data_blocks(EdidModel& m, const std::string& tag) {
    if (!tag_known(tag)) {
        std::string keys;
        for (const DataBlockType& t : data_block_types())
            if (t.kind != DataBlockKind::other)
                keys += std::string(keys.empty() ? "" : ", ") + t.key;
        return {"unknown data block \"" + tag + "\" (" + keys + ", a tag 1-7, or 7:N)"};
    }
    return all_or_nothing(m, [&tag](EdidModel& w) -> EdidEdit {
        bool removed = false;
        for (int b = 1; b < w.block_count(); ++b) {
            if (!w.block(b).is_cta()) continue;
            // The VICs go first, so that whatever names them by position
            // follows as for --remove-vic.
            std::vector<SvdSlot> kept = svd_slots(w, b);
            std::erase_if(kept, [&w, b, &tag](const SvdSlot& s) {
                return tag_matches(tag, w.part(b, s.part).bytes);
            });
            if (kept.size() != svd_slots(w, b).size())
                if (EdidEdit e = write_svds(w, b, kept); !e.ok()) return e;
            for (int p = static_cast<int>(w.block(b).parts.size()) - 1; p >= 0; --p) {
                const EdidPart& part = w.part(b, p);
                if (part.role != EdidPartRole::data_block || !tag_matches(tag, part.bytes))
                    continue;
                if (data_block_kind(part.bytes) == DataBlockKind::video_capability)
                    w.warn(
                        "without a video capability data block a source cannot select the "
                        "RGB quantization range");
                if (EdidEdit e = w.remove(b, p); !e.ok()) return e;
                removed = true;
            }
        }
        if (!removed) return {"the image has no " + tag + " data block to remove"};
        if (data_blocks_of(w, DataBlockKind::hdmi).empty() &&
            !data_blocks_of(w, DataBlockKind::hdmi_forum).empty())
            return {
                "the HDMI Forum vendor block needs the HDMI vendor block; remove hdmi-forum "
                "too"};
        return {};
    });
}

// ---- warnings ------------------------------------------------------------------------------

int edid_max_tmds_mhz(const EdidModel& m) {
    const auto hdmi = data_blocks_of(m, DataBlockKind::hdmi);
    if (hdmi.empty()) return 0;
    int max_mhz = 165;
    const std::string& h = m.part(hdmi.front().block, hdmi.front().part).bytes;
    if (part_byte(h, 7) > 0) max_mhz = part_byte(h, 7) * 5;
    for (const PartRef& r : data_blocks_of(m, DataBlockKind::hdmi_forum))
        max_mhz = std::max(max_mhz, part_byte(m.part(r.block, r.part).bytes, 5) * 5);
    return max_mhz;
}

namespace {

// The range limits descriptor's rates, when it has one without the rate
// offsets of byte 4.
struct RangeRates {
    int min_v = 0, max_v = 0, min_h = 0, max_h = 0;
};

std::optional<RangeRates> range_rates(const EdidModel& m) {
    for (const EdidPart& p : m.block(0).parts)
        if (p.role == EdidPartRole::descriptor &&
            descriptor_kind(p.bytes) == DescriptorKind::range_limits && part_byte(p.bytes, 4) == 0)
            return RangeRates{part_byte(p.bytes, 5), part_byte(p.bytes, 6), part_byte(p.bytes, 7),
                              part_byte(p.bytes, 8)};
    return std::nullopt;
}

// A VIC's frame size as its name gives it: "1920x1080i ..." -> 1920, 1080, true.
struct VicSize {
    int width = 0, height = 0;
    bool interlaced = false;
};

std::optional<VicSize> vic_size(int vic) {
    const std::string name = vic_name(vic);
    VicSize v;
    char scan = 0;
    if (std::sscanf(name.c_str(), " %dx%d%c", &v.width, &v.height, &scan) != 3) return std::nullopt;
    v.interlaced = scan == 'i';
    return v;
}

// The first detailed timing of block 0: width, frame height, interlaced.
std::optional<std::array<int, 3>> preferred_size(const EdidModel& m) {
    for (const EdidPart& p : m.block(0).parts) {
        if (p.role != EdidPartRole::descriptor) continue;
        if (descriptor_kind(p.bytes) != DescriptorKind::timing) return std::nullopt;
        const int interlaced = part_byte(p.bytes, 17) >> 7;
        return std::array<int, 3>{
            part_byte(p.bytes, 2) | (part_byte(p.bytes, 4) >> 4) << 8,
            (part_byte(p.bytes, 5) | (part_byte(p.bytes, 7) >> 4) << 8) << interlaced, interlaced};
    }
    return std::nullopt;
}

// The range limits descriptor's max pixel clock, 0 when there is none.
int range_limits_mhz(const EdidModel& m) {
    for (const EdidPart& p : m.block(0).parts)
        if (p.role == EdidPartRole::descriptor &&
            descriptor_kind(p.bytes) == DescriptorKind::range_limits)
            return part_byte(p.bytes, 9) * 10;
    return 0;
}

}  // namespace

std::vector<int> hdmi_3d_vic_positions(const std::string& b) {
    std::vector<int> out;
    const auto h = hdmi_3d(b);
    if (!h) return out;
    if (h->has_mask) {
        const int mask = part_byte(b, h->start + 2) << 8 | part_byte(b, h->start + 3);
        for (int i = 0; i < 16; ++i)
            if ((mask >> i) & 1) out.push_back(i);
    }
    const int end = h->start + h->length;
    for (int at = h->entries_at; at < end; at += (part_byte(b, at) & 0x0F) >= 8 ? 2 : 1)
        out.push_back(part_byte(b, at) >> 4);
    return out;
}

std::string edid_edit_header_fault(const EdidModel& m) {
    const std::string& header = m.part(0, 0).bytes;
    if (header == std::string("\x00\xFF\xFF\xFF\xFF\xFF\xFF\x00", 8)) return {};
    return "block 0's header is not 00 FF FF FF FF FF FF 00, so this is no EDID image";
}

std::vector<std::string> edid_model_warnings(const EdidModel& m) {
    std::vector<std::string> lines;
    const int tmds = edid_max_tmds_mhz(m);
    const int range = range_limits_mhz(m);
    const auto rates = range_rates(m);
    const auto preferred = preferred_size(m);
    for (int b = 1; b < m.block_count(); ++b) {
        const std::vector<SvdSlot> slots = svd_slots(m, b);
        const auto maps = data_blocks_in(m, b, DataBlockKind::y420_map);
        for (std::size_t i = 0; i < slots.size(); ++i) {
            const int vic = svd_decode(slots[i].code).vic;
            const auto size = vic_size(vic);
            if (svd_decode(slots[i].code).native && size && size->interlaced)
                lines.push_back(vic_label(vic) + " is marked native and is interlaced");
            else if (svd_decode(slots[i].code).native && size && preferred &&
                     ((*preferred)[0] != size->width || (*preferred)[1] != size->height ||
                      (*preferred)[2] != 0))
                lines.push_back(vic_label(vic) + " is marked native, but the preferred timing is " +
                                std::to_string((*preferred)[0]) + "x" +
                                std::to_string((*preferred)[1]) + ((*preferred)[2] ? "i" : ""));
            const VideoTiming* t = video_timing_of_vic(vic);
            if (!t) continue;
            const int clock = (t->clock_10khz + 99) / 100;
            int need = clock;
            for (const PartRef& r : maps) {
                const std::string& map = m.part(b, r.part).bytes;
                // 4:2:0 halves the TMDS rate.
                if (map.size() <= 2 ||
                    ((part_byte(map, 2 + static_cast<int>(i / 8)) >> (i % 8)) & 1))
                    need = (clock + 1) / 2;
            }
            if (tmds > 0 && need > tmds)
                lines.push_back(vic_label(vic) + " needs a TMDS rate of " + std::to_string(need) +
                                " MHz; the image's max TMDS rate is " + std::to_string(tmds) +
                                " MHz");
            if (range > 0 && clock > range)
                lines.push_back(vic_label(vic) + " needs a pixel clock of " +
                                std::to_string(clock) + " MHz; the range limits allow " +
                                std::to_string(range) + " MHz");
            const double h_khz = t->clock_10khz * 10.0 / (t->h_active + t->h_blank());
            const double v_hz = h_khz * 1000.0 / (t->v_active + t->v_blank());
            if (rates && (h_khz < rates->min_h || h_khz > rates->max_h || v_hz < rates->min_v ||
                          v_hz > rates->max_v))
                lines.push_back(
                    vic_label(vic) + " runs at " + std::to_string(std::lround(v_hz)) + " Hz and " +
                    std::to_string(std::lround(h_khz)) + " kHz; the range limits allow " +
                    std::to_string(rates->min_v) + "-" + std::to_string(rates->max_v) + " Hz and " +
                    std::to_string(rates->min_h) + "-" + std::to_string(rates->max_h) + " kHz");
        }
    }
    // CTA-861 sinks take 640x480p60 and must say so somewhere.
    const PartRef established = base_part(m, EdidPartRole::established);
    if (first_cta_block(m) >= 0 && !(part_byte(m.part(0, established.part).bytes, 0) & 0x20)) {
        bool vic1 = false;
        for (int b = 1; b < m.block_count(); ++b)
            for (const SvdSlot& s : svd_slots(m, b)) vic1 = vic1 || svd_decode(s.code).vic == 1;
        if (!vic1)
            lines.push_back(
                "640x480p60, which every CTA-861 sink takes, is in neither the established "
                "timings nor a video data block");
    }
    if (!data_blocks_of(m, DataBlockKind::hdr_static).empty()) {
        bool bt2020 = false;
        for (const PartRef& r : data_blocks_of(m, DataBlockKind::colorimetry))
            bt2020 = bt2020 || (part_byte(m.part(r.block, r.part).bytes, 2) & 0xE0) != 0;
        if (!bt2020)
            lines.push_back(
                "HDR static metadata without BT.2020 colorimetry: no colorimetry data "
                "block names BT.2020");
    }
    return lines;
}

}  // namespace t27
