#include "edid/edit/edit_decode.h"

#include "common/json_out.h"
#include "edid/edit/edit_schema.h"
#include "edid/hex_digits.h"

namespace t27 {

namespace {

std::string hex_bytes(const std::string& bytes, const std::vector<bool>* only = nullptr) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (only && !(*only)[i]) continue;
        if (!out.empty()) out += ' ';
        out += hex_upper(static_cast<unsigned char>(bytes[i]), 2);
    }
    return out;
}

bool any(const std::vector<bool>& v) {
    for (bool b : v)
        if (b) return true;
    return false;
}

std::string range_text(int from, int size) {
    return size == 1 ? "byte " + std::to_string(from)
                     : "bytes " + std::to_string(from) + "-" + std::to_string(from + size - 1);
}

void text_fields(std::string& out, const std::string& bytes, const std::vector<EdidField>& fields,
                 const std::string& indent) {
    for (const EdidField& f : fields) out += indent + f.label + ": " + field_text(bytes, f) + "\n";
}

std::string json_value(const std::string& bytes, const EdidField& f) {
    switch (f.type) {
        case FieldType::flag:
        case FieldType::unused:
            return field_raw(bytes, f) ? "true" : "false";
        case FieldType::letters:
        case FieldType::text:
            return json::quote(field_text(bytes, f));
        case FieldType::choice:
            return std::to_string(field_raw(bytes, f));
        case FieldType::number:
            break;
    }
    return std::to_string(field_value(bytes, f));
}

std::string json_fields(const std::string& bytes, const std::vector<EdidField>& fields) {
    std::string out = "[";
    for (const EdidField& f : fields) {
        if (out.size() > 1) out += ",";
        out += "{\"key\":" + json::quote(f.key) + ",\"label\":" + json::quote(f.label) +
               ",\"value\":" + json_value(bytes, f) +
               ",\"text\":" + json::quote(field_text(bytes, f));
        if (f.read_only) out += ",\"read_only\":true";
        out += "}";
    }
    return out + "]";
}

}  // namespace

std::string edid_decode_text(const EdidModel& m) {
    std::string out;
    for (int b = 0; b < m.block_count(); ++b) {
        out += block_label(m, b) + "\n";
        for (int p = 0; p < static_cast<int>(m.block(b).parts.size()); ++p) {
            const EdidPart& part = m.part(b, p);
            out += "  " + part_label(m, b, p) + " (" +
                   range_text(m.image_offset(b, p), static_cast<int>(part.bytes.size())) + ")\n";
            text_fields(out, part.bytes, part_fields(part), "    ");
            for (const EdidListItem& item : part_list_items(part)) {
                out += "    " + item.label + "\n";
                text_fields(out, part.bytes, item.fields, "      ");
            }
            const std::vector<bool> raw = part_raw_bytes(part);
            if (any(raw)) out += "    raw: " + hex_bytes(part.bytes, &raw) + "\n";
        }
    }
    return out;
}

std::string edid_decode_json(const EdidModel& m) {
    std::string out = "{\"size\":" + std::to_string(128 * m.block_count()) + ",\"blocks\":[";
    for (int b = 0; b < m.block_count(); ++b) {
        if (b > 0) out += ",";
        out += "{\"block\":" + std::to_string(b) + ",\"label\":" + json::quote(block_label(m, b)) +
               ",\"parts\":[";
        for (int p = 0; p < static_cast<int>(m.block(b).parts.size()); ++p) {
            const EdidPart& part = m.part(b, p);
            if (p > 0) out += ",";
            out += "{\"key\":" + json::quote(part_key(m, b, p)) +
                   ",\"label\":" + json::quote(part_label(m, b, p)) +
                   ",\"offset\":" + std::to_string(m.image_offset(b, p)) +
                   ",\"bytes\":" + json::quote(hex_bytes(part.bytes)) +
                   ",\"fields\":" + json_fields(part.bytes, part_fields(part));
            const std::vector<EdidListItem> items = part_list_items(part);
            if (!items.empty()) {
                out += ",\"items\":[";
                for (std::size_t i = 0; i < items.size(); ++i) {
                    if (i > 0) out += ",";
                    out += "{\"label\":" + json::quote(items[i].label) +
                           ",\"offset\":" + std::to_string(m.image_offset(b, p) + items[i].offset) +
                           ",\"bytes\":" +
                           json::quote(hex_bytes(
                               part.bytes.substr(static_cast<std::size_t>(items[i].offset),
                                                 static_cast<std::size_t>(items[i].size)))) +
                           ",\"fields\":" + json_fields(part.bytes, items[i].fields) + "}";
                }
                out += "]";
            }
            const std::vector<bool> raw = part_raw_bytes(part);
            if (any(raw)) out += ",\"raw\":" + json::quote(hex_bytes(part.bytes, &raw));
            out += "}";
        }
        out += "]}";
    }
    return out + "]}\n";
}

}  // namespace t27
