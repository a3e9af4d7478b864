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
