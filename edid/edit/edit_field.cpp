#include "edid/edit/edit_field.h"

#include <algorithm>

#include "edid/hex_digits.h"

namespace t27 {

int EdidField::bits() const {
    if (type == FieldType::text) return 8;
    if (type == FieldType::unused) return 1;
    int n = 0;
    for (const BitPiece& p : pieces) n += p.width;
    return n;
}

int EdidField::last_offset() const {
    int last = 0;
    for (const BitPiece& p : pieces) last = std::max(last, p.offset);
    if (type == FieldType::text && !pieces.empty()) last = pieces[0].offset + length - 1;
    if (type == FieldType::unused && !pieces.empty()) last = pieces[0].offset + 1;
    return last;
}

long long field_raw(const std::string& bytes, const EdidField& f) {
    if (f.type == FieldType::unused) {
        const int at = f.pieces.empty() ? 0 : f.pieces[0].offset;
        return part_byte(bytes, at) == 1 && part_byte(bytes, at + 1) == 1;
    }
    long long v = 0;
    for (const BitPiece& p : f.pieces) {
        const int mask = (1 << p.width) - 1;
        v = (v << p.width) | ((part_byte(bytes, p.offset) >> p.shift) & mask);
    }
    return v;
}

void field_raw_set(std::string& bytes, const EdidField& f, long long raw) {
    if (f.type == FieldType::unused) {
        const std::size_t at = f.pieces.empty() ? 0 : static_cast<std::size_t>(f.pieces[0].offset);
        if (at + 2 > bytes.size() || (field_raw(bytes, f) != 0) == (raw != 0)) return;
        // In use again: 1920x1080 at 60 Hz, 16:9, for the user to change.
        bytes.replace(at, 2, raw ? std::string("\x01\x01", 2) : std::string("\xD1\xC0", 2));
        return;
    }
    // Least significant piece last: peel the value from the end.
    for (auto it = f.pieces.rbegin(); it != f.pieces.rend(); ++it) {
        const BitPiece& p = *it;
        if (p.offset < 0 || p.offset >= static_cast<int>(bytes.size())) continue;
        const int mask = ((1 << p.width) - 1) << p.shift;
        char& b = bytes[static_cast<std::size_t>(p.offset)];
        const int bits = static_cast<int>((raw & ((1 << p.width) - 1)) << p.shift);
        b = static_cast<char>((static_cast<unsigned char>(b) & ~mask) | bits);
        raw >>= p.width;
    }
}

long long field_value(const std::string& bytes, const EdidField& f) {
    return field_raw(bytes, f) * f.scale + f.bias;
}

std::string field_set(std::string& bytes, const EdidField& f, long long shown) {
    const long long raw = (shown - f.bias) / f.scale;
    if (shown < f.shown_min() || shown > f.shown_max())
        return f.label + " must be between " + std::to_string(f.shown_min()) + " and " +
               std::to_string(f.shown_max());
    if (raw * f.scale + f.bias != shown)
        return f.label + " goes in steps of " + std::to_string(f.scale);
    field_raw_set(bytes, f, raw);
    return {};
}

std::string choice_name(const EdidField& f, long long raw) {
    if (!f.names || raw < 0 || raw >= static_cast<long long>(f.names->size())) return {};
    return (*f.names)[static_cast<std::size_t>(raw)];
}

std::string field_text(const std::string& bytes, const EdidField& f) {
    switch (f.type) {
        case FieldType::flag:
        case FieldType::unused:
            return field_raw(bytes, f) ? "yes" : "no";
        case FieldType::choice: {
            const long long raw = field_raw(bytes, f);
            const std::string name = choice_name(f, raw);
            return name.empty() ? std::to_string(raw) : name;
        }
        case FieldType::letters: {
            const long long raw = field_raw(bytes, f);
            std::string s;
            for (int shift = 10; shift >= 0; shift -= 5)
                s += static_cast<char>(((raw >> shift) & 0x1F) + '@');
            return s;
        }
        case FieldType::text: {
            std::string s;
            const int at = f.pieces.empty() ? 0 : f.pieces[0].offset;
            for (int k = 0; k < f.length; ++k) {
                const int c = part_byte(bytes, at + k);
                if (c == 0x0A || c == 0x00) break;
                s += static_cast<char>(c);
            }
            return s;
        }
        case FieldType::number:
            break;
    }
    if (f.hex_digits > 0)
        return hex_upper(static_cast<unsigned>(field_value(bytes, f)),
                         static_cast<std::size_t>(f.hex_digits)) +
               "h";
    std::string s = std::to_string(field_value(bytes, f));
    if (!f.unit.empty()) s += " " + f.unit;
    return s;
}

std::string field_set_text(std::string& bytes, const EdidField& f, const std::string& text) {
    if (f.type == FieldType::letters) {
        if (text.size() != 3) return f.label + " takes three letters A-Z, not \"" + text + "\"";
        long long raw = 0;
        for (char c : text) {
            const char up = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
            if (up < 'A' || up > 'Z')
                return f.label + " takes three letters A-Z, not \"" + text + "\"";
            raw = (raw << 5) | (up - '@');
        }
        field_raw_set(bytes, f, raw);
        return {};
    }
    if (f.type != FieldType::text) return f.label + " is not a text";
    if (static_cast<int>(text.size()) > f.length)
        return f.label + " has " + std::to_string(text.size()) + " characters; at most " +
               std::to_string(f.length) + " fit";
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u > 0x7E) return f.label + " may hold only printable ASCII characters";
    }
    const int at = f.pieces.empty() ? 0 : f.pieces[0].offset;
    if (at < 0 || at + f.length > static_cast<int>(bytes.size())) return f.label + " does not fit";
    for (int k = 0; k < f.length; ++k) {
        char c = ' ';
        if (k < static_cast<int>(text.size())) {
            c = text[static_cast<std::size_t>(k)];
        } else if (k == static_cast<int>(text.size())) {
            c = '\n';
        }
        bytes[static_cast<std::size_t>(at + k)] = c;
    }
    return {};
}

}  // namespace t27
