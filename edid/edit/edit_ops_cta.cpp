// The CTA block's short video descriptors and what refers to them by
// position (3D entries, the 4:2:0 capability map), for the VIC edits and the
// warnings.
#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

#include "edid/cea_blocks.h"
#include "edid/edit/edit_ops_parts.h"
#include "edid/vic_names.h"

namespace t27 {

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

// ---- short video descriptors -------------------------------------------------------------


std::vector<SvdSlot> svd_slots(const EdidModel& m, int b) {
    std::vector<SvdSlot> slots;
    for (const PartRef& r : data_blocks_in(m, b, DataBlockKind::video)) {
        const std::string& bytes = m.part(b, r.part).bytes;
        for (int k = 1; k < static_cast<int>(bytes.size()); ++k)
            slots.push_back({r.part, part_byte(bytes, k), static_cast<int>(slots.size())});
    }
    return slots;
}



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

}  // namespace t27
