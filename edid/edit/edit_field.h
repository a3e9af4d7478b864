#pragma once
// An editable field of an EDID part: where its bits sit in the part's bytes
// and how its value is shown. One description serves the editor's form, the
// decode printout and the command-line edits, so they cannot disagree.
#include <string>
#include <vector>

namespace t27 {

// `width` bits of the byte at `offset`, from bit `shift` up.
struct BitPiece {
    int offset = 0;
    int shift = 0;
    int width = 8;
};

enum class FieldType {
    number,   // shown = raw * scale + bias
    choice,   // raw value named by `names` (a value past the table shows as a number)
    flag,     // one bit
    letters,  // three 5-bit letters, 1 = "A"
    text,     // `length` bytes of text, ended by 0x0A and padded with blanks
    // A flag that is on when the two bytes at pieces[0].offset read 01 01,
    // the mark of an unused standard timing. Turned off, they get a timing.
    unused,
};

struct EdidField {
    std::string key;    // for scripts: "product_code"
    std::string label;  // for people: "Product code"
    FieldType type = FieldType::number;
    // Most significant first; a multi-byte little-endian number lists its
    // high byte first.
    std::vector<BitPiece> pieces;
    const std::vector<std::string>* names = nullptr;
    int scale = 1;
    int bias = 0;
    std::string unit;
    int length = 0;  // text fields only: the bytes from pieces[0].offset
    // Shown but set by the model itself (a length, a checksum, a tag).
    bool read_only = false;
    int hex_digits = 0;  // shown in hex (a checksum, an OUI) when not 0

    int bits() const;
    long long raw_max() const { return (1LL << bits()) - 1; }
    long long shown_min() const { return bias; }
    long long shown_max() const { return raw_max() * scale + bias; }
    // The last byte the field touches, so a field past a short block's end
    // can be left out.
    int last_offset() const;
};

// Byte i of a part, 0 past its end: a field of a short block reads as 0.
inline int part_byte(const std::string& bytes, int i) {
    return i >= 0 && i < static_cast<int>(bytes.size())
               ? static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)])
               : 0;
}

long long field_raw(const std::string& bytes, const EdidField& f);
void field_raw_set(std::string& bytes, const EdidField& f, long long raw);

// Value as shown (scale and bias applied).
long long field_value(const std::string& bytes, const EdidField& f);

// Stores a shown value. Returns why it cannot be stored (empty when stored):
// outside the range the bits hold, or not a step of the scale.
std::string field_set(std::string& bytes, const EdidField& f, long long shown);

// The field as text: a number with its unit, a choice's name, "yes"/"no",
// the three letters, or the text.
std::string field_text(const std::string& bytes, const EdidField& f);

// Letters and text fields take text; returns why it cannot be stored.
std::string field_set_text(std::string& bytes, const EdidField& f, const std::string& text);

// The name of a choice value, or empty when the table has none.
std::string choice_name(const EdidField& f, long long raw);

}  // namespace t27
