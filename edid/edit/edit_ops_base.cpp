#include "edid/edit/edit_ops.h"

#include "edid/edit/edit_ops_parts.h"

namespace t27 {

// ---- text ----------------------------------------------------------------------------------

std::vector<std::string> edid_split(const std::string& s, char sep) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = s.find(sep, start);
        out.push_back(s.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) return out;
        start = at + 1;
    }
}

bool edid_vic_known(int vic) { return (vic >= 1 && vic <= 127) || (vic >= 193 && vic <= 219); }

bool edid_parse_number(const std::string& s, long long& v) {
    if (s.empty() || s.size() > 12) return false;
    v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    return true;
}

// ---- lookups -------------------------------------------------------------------------------

PartRef base_part(const EdidModel& m, EdidPartRole role) {
    const auto& parts = m.block(0).parts;
    for (int p = 0; p < static_cast<int>(parts.size()); ++p)
        if (parts[static_cast<std::size_t>(p)].role == role) return {0, p};
    return {};
}

// ---- fields --------------------------------------------------------------------------------

EdidEdit set_field(EdidModel& m, PartRef at, const EdidField& f, long long shown) {
    if (f.read_only) return {f.label + " follows the image and cannot be set"};
    std::string bytes = m.part(at.block, at.part).bytes;
    if (std::string why = field_set(bytes, f, shown); !why.empty()) return {why};
    return m.replace(at.block, at.part, bytes);
}

EdidEdit set_field_text(EdidModel& m, PartRef at, const EdidField& f, const std::string& text) {
    std::string bytes = m.part(at.block, at.part).bytes;
    if (std::string why = field_set_text(bytes, f, text); !why.empty()) return {why};
    return m.replace(at.block, at.part, bytes);
}

EdidEdit set_field_by_key(EdidModel& m, PartRef at, const std::string& key, long long shown) {
    for (const EdidField& f : part_fields(m.part(at.block, at.part)))
        if (f.key == key) return set_field(m, at, f, shown);
    return {"no field " + key};
}

// ---- base block ----------------------------------------------------------------------------

EdidEdit edit_monitor_name(EdidModel& m, const std::string& name) {
    return all_or_nothing(m, [&name](EdidModel& w) -> EdidEdit {
        PartRef name_at;
        PartRef dummy_at;
        std::vector<PartRef> extra;
        const auto& parts = w.block(0).parts;
        for (int p = 0; p < static_cast<int>(parts.size()); ++p) {
            const EdidPart& part = parts[static_cast<std::size_t>(p)];
            if (part.role != EdidPartRole::descriptor) continue;
            const DescriptorKind kind = descriptor_kind(part.bytes);
            if (kind == DescriptorKind::monitor_name && name_at.found()) {
                extra.push_back({0, p});
            } else if (kind == DescriptorKind::monitor_name) {
                name_at = {0, p};
            } else if (kind == DescriptorKind::dummy && !dummy_at.found()) {
                dummy_at = {0, p};
            }
        }
        if (!name_at.found()) {
            if (!dummy_at.found())
                return {
                    "block 0 has no monitor name descriptor and no dummy descriptor to hold one"};
            if (EdidEdit e = edit_descriptor_kind(w, dummy_at, DescriptorKind::monitor_name);
                !e.ok())
                return e;
            name_at = dummy_at;
        }
        // A name spread over several descriptors would still read as the old
        // name's tail after the new one.
        for (const PartRef& r : extra)
            if (EdidEdit e = edit_descriptor_kind(w, r, DescriptorKind::dummy); !e.ok()) return e;
        const auto fields = part_fields(w.part(0, name_at.part));
        return set_field_text(w, name_at, fields.front(), name);
    });
}

EdidEdit edit_manufacturer(EdidModel& m, const std::string& letters) {
    const PartRef at = base_part(m, EdidPartRole::vendor);
    return set_field_text(m, at, part_fields(m.part(0, at.part)).front(), letters);
}

// ---- descriptors ---------------------------------------------------------------------------

EdidEdit edit_timing(EdidModel& m, PartRef at, const VideoTiming& t) {
    const EdidPart& part = m.part(at.block, at.part);
    if (part.bytes.size() != 18) return {"only an 18-byte descriptor holds a timing"};
    std::string bytes = part.bytes;
    if (descriptor_kind(bytes) != DescriptorKind::timing) bytes.assign(18, '\0');
    EdidPart work{part.role, bytes};
    const std::pair<const char*, int> values[] = {
        {"pixel_clock", t.clock_10khz},
        {"h_active", t.h_active},
        {"h_blank", t.h_blank()},
        {"v_active", t.v_active},
        {"v_blank", t.v_blank()},
        {"h_sync_offset", t.h_front},
        {"h_sync_width", t.h_sync},
        {"v_sync_offset", t.v_front},
        {"v_sync_width", t.v_sync},
        {"interlaced", t.interlaced ? 1 : 0},
        {"stereo", 0},
        {"sync_type", 3},
        {"v_sync_positive", t.v_positive ? 1 : 0},
        {"h_sync_positive", t.h_positive ? 1 : 0},
    };
    const std::vector<EdidField> fields = timing_fields(0);
    for (const auto& [key, value] : values) {
        for (const EdidField& f : fields)
            if (f.key == key)
                if (std::string why = field_set(work.bytes, f, value); !why.empty()) return {why};
    }
    return m.replace(at.block, at.part, work.bytes);
}

EdidEdit edit_descriptor_kind(EdidModel& m, PartRef at, DescriptorKind kind) {
    const EdidPart& part = m.part(at.block, at.part);
    if (part.role != EdidPartRole::descriptor) return {"only a base-block descriptor changes kind"};
    if (descriptor_kind(part.bytes) == kind) return {};
    switch (kind) {
        case DescriptorKind::timing:
            return edit_timing(m, at, *video_timing_of_vic(16));
        case DescriptorKind::monitor_name:
        case DescriptorKind::serial_text:
        case DescriptorKind::data_text: {
            std::string bytes = bytes_of({0, 0, 0, descriptor_type(kind).tag, 0, 0x0A});
            bytes.resize(18, ' ');
            return m.replace(at.block, at.part, bytes);
        }
        case DescriptorKind::range_limits: {
            // 24-75 Hz, 15-136 kHz, 600 MHz, range limits only.
            std::string bytes = bytes_of({0, 0, 0, 0xFD, 0, 24, 75, 15, 136, 60, 1, 0x0A});
            bytes.resize(18, ' ');
            return m.replace(at.block, at.part, bytes);
        }
        case DescriptorKind::dummy:
        case DescriptorKind::other:
            break;
    }
    std::string bytes = bytes_of({0, 0, 0, descriptor_type(DescriptorKind::dummy).tag});
    bytes.resize(18, '\0');
    return m.replace(at.block, at.part, bytes);
}

}  // namespace t27
