#include "edid/edit/edit_schema.h"

#include <algorithm>

#include "edid/edit/edit_schema_parts.h"
#include "edid/hex_digits.h"
#include "edid/tag_names.h"

namespace t27 {

namespace {

struct RoleName {
    EdidPartRole role;
    const char* key;
    const char* label;
};

// Parts named by their role alone; descriptors, timings and data blocks are
// named by what they hold.
const RoleName role_names[] = {
    {EdidPartRole::header, "header", "Header"},
    {EdidPartRole::vendor, "vendor", "Vendor and product"},
    {EdidPartRole::version, "version", "EDID version"},
    {EdidPartRole::display, "display", "Basic display parameters"},
    {EdidPartRole::colour, "colour", "Colour characteristics"},
    {EdidPartRole::established, "established", "Established timings"},
    {EdidPartRole::standard, "standard", "Standard timings"},
    {EdidPartRole::extension_count, "extension_count", "Extension count"},
    {EdidPartRole::checksum, "checksum", "Checksum"},
    {EdidPartRole::cta_header, "cta_header", "CTA-861 header"},
    {EdidPartRole::collection, "collection", "Data blocks (cannot be walked, kept raw)"},
    {EdidPartRole::trailer, "trailer", "After the detailed timings (kept raw)"},
    {EdidPartRole::padding, "padding", "Padding"},
    {EdidPartRole::raw_block, "raw", "Block data (kept raw)"},
};

const RoleName* role_name(EdidPartRole role) {
    for (const RoleName& r : role_names)
        if (r.role == role) return &r;
    return nullptr;
}

// 1-based number of part p among the parts of its role in block b.
int ordinal(const EdidModel& m, int b, int p) {
    int n = 0;
    for (int i = 0; i <= p; ++i)
        if (m.part(b, i).role == m.part(b, p).role) ++n;
    return n;
}

std::string data_block_label(const std::string& b) {
    const DataBlockKind kind = data_block_kind(b);
    if (kind != DataBlockKind::other) return data_block_type(kind).label;
    const int tag = b.empty() ? 0 : static_cast<unsigned char>(b[0]) >> 5;
    if (tag == 7 && b.size() >= 2)
        return "Extended data block " + std::to_string(static_cast<unsigned char>(b[1]));
    return "Data block, tag " + std::to_string(tag);
}

}  // namespace

std::string block_label(const EdidModel& m, int b) {
    const std::string n = "Block " + std::to_string(b) + ": ";
    if (b == 0) return n + "Base block";
    if (m.block(b).is_cta()) return n + "CTA-861 extension";
    return n + extension_tag_name(m.block(b).tag()) + " (tag " +
           hex_upper(static_cast<unsigned>(m.block(b).tag()), 2) + "h)";
}

std::string part_label(const EdidModel& m, int b, int p) {
    const EdidPart& part = m.part(b, p);
    switch (part.role) {
        case EdidPartRole::descriptor:
            return "Descriptor " + std::to_string(ordinal(m, b, p)) + ": " +
                   descriptor_kind_label(descriptor_kind(part.bytes));
        case EdidPartRole::cta_timing:
            return "Detailed timing " + std::to_string(ordinal(m, b, p));
        case EdidPartRole::data_block:
            return data_block_label(part.bytes);
        default:
            break;
    }
    const RoleName* r = role_name(part.role);
    return r ? r->label : "";
}

std::string part_key(const EdidModel& m, int b, int p) {
    const EdidPart& part = m.part(b, p);
    switch (part.role) {
        case EdidPartRole::descriptor:
            return "descriptor_" + std::to_string(ordinal(m, b, p));
        case EdidPartRole::cta_timing:
            return "timing_" + std::to_string(ordinal(m, b, p));
        case EdidPartRole::data_block:
            return data_block_type(data_block_kind(part.bytes)).key;
        default:
            break;
    }
    const RoleName* r = role_name(part.role);
    return r ? r->key : "";
}

std::vector<EdidField> part_fields(const EdidPart& part) {
    std::vector<EdidField> f = base_part_fields(part);
    if (f.empty()) f = cta_part_fields(part);
    if (part.role == EdidPartRole::checksum) {
        EdidField sum;
        sum.key = "checksum";
        sum.label = "Checksum";
        sum.pieces = {{0, 0, 8}};
        sum.read_only = true;
        sum.hex_digits = 2;
        f.push_back(sum);
    }
    const int size = static_cast<int>(part.bytes.size());
    f.erase(std::remove_if(f.begin(), f.end(),
                           [size](const EdidField& x) { return x.last_offset() >= size; }),
            f.end());
    return f;
}

std::vector<EdidListItem> part_list_items(const EdidPart& part) { return cta_list_items(part); }

std::vector<bool> part_raw_bytes(const EdidPart& part) {
    std::vector<bool> raw(part.bytes.size(), true);
    auto cover = [&raw](int at) {
        if (at >= 0 && at < static_cast<int>(raw.size())) raw[static_cast<std::size_t>(at)] = false;
    };
    auto cover_fields = [&cover](const std::vector<EdidField>& fields) {
        for (const EdidField& f : fields) {
            if (f.type == FieldType::text && !f.pieces.empty()) {
                for (int k = 0; k < f.length; ++k) cover(f.pieces[0].offset + k);
            }
            for (const BitPiece& p : f.pieces) cover(p.offset);
        }
    };
    cover_fields(part_fields(part));
    for (const EdidListItem& item : part_list_items(part)) {
        for (int k = 0; k < item.size; ++k) cover(item.offset + k);
        cover_fields(item.fields);
    }
    // A data block's header byte also holds its length, which the model keeps.
    if (part.role == EdidPartRole::data_block) cover(0);
    return raw;
}

}  // namespace t27
