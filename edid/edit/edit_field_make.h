#pragma once
// Short builders for the field tables of the editor's schema.
#include <string>
#include <vector>

#include "edid/edit/edit_field.h"

namespace t27::field_make {

inline EdidField num(std::string key, std::string label, std::vector<BitPiece> pieces,
                     std::string unit = {}, int scale = 1, int bias = 0) {
    EdidField f;
    f.key = std::move(key);
    f.label = std::move(label);
    f.type = FieldType::number;
    f.pieces = std::move(pieces);
    f.unit = std::move(unit);
    f.scale = scale;
    f.bias = bias;
    return f;
}

// A whole byte at `at`.
inline EdidField byte(std::string key, std::string label, int at, std::string unit = {}) {
    return num(std::move(key), std::move(label), {{at, 0, 8}}, std::move(unit));
}

inline EdidField flag(std::string key, std::string label, int at, int bit) {
    EdidField f = num(std::move(key), std::move(label), {{at, bit, 1}});
    f.type = FieldType::flag;
    return f;
}

inline EdidField choice(std::string key, std::string label, std::vector<BitPiece> pieces,
                        const std::vector<std::string>& names) {
    EdidField f = num(std::move(key), std::move(label), std::move(pieces));
    f.type = FieldType::choice;
    f.names = &names;
    return f;
}

inline EdidField read_only(EdidField f) {
    f.read_only = true;
    return f;
}

// A key made from a label: "640x480 60Hz" -> "640x480_60hz".
inline std::string slug(const std::string& label) {
    std::string s;
    for (char c : label) {
        const bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z');
        if (c >= 'A' && c <= 'Z') {
            s += static_cast<char>(c - 'A' + 'a');
        } else if (alnum) {
            s += c;
        } else if (!s.empty() && s.back() != '_') {
            s += '_';
        }
    }
    while (!s.empty() && s.back() == '_') s.pop_back();
    return s;
}

// One flag per bit of the byte at `at`, bit 0 first; empty labels are skipped.
inline void flags(std::vector<EdidField>& out, const std::string& key_prefix, int at,
                  const std::vector<std::string>& labels) {
    for (int bit = 0; bit < static_cast<int>(labels.size()) && bit < 8; ++bit) {
        const std::string& l = labels[static_cast<std::size_t>(bit)];
        if (!l.empty()) out.push_back(flag(key_prefix + slug(l), l, at, bit));
    }
}

}  // namespace t27::field_make
