#include "edid/edid_writers.h"

#include "common/atomic_write.h"
#include "common/file_names.h"
#include "edid/hex_digits.h"

namespace t27 {

namespace {

std::string trim_blanks(const std::string& s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && s[b] == ' ') ++b;
    while (e > b && s[e - 1] == ' ') --e;
    return s.substr(b, e - b);
}

// Walks the cleaned text the way both writers read it: comments from "/" to
// the CR, line ends, and digit pairs each followed by a blank.
template <typename OnPair, typename OnComment, typename OnLineEnd>
void scan_cleaned(const std::string& t, OnPair on_pair, OnComment on_comment,
                  OnLineEnd on_line_end) {
    std::size_t i = 0;
    while (i < t.size()) {
        const char c = t[i];
        if (c == '/') {
            std::size_t j = i;
            while (j < t.size() && t[j] == '/') ++j;
            std::size_t end = t.find('\r', j);
            if (end == std::string::npos) end = t.size();
            on_comment(t.substr(j, end - j));
            i = end;
        } else if (c == '\r' || c == '\n') {
            if (c == '\r') on_line_end();
            ++i;
        } else {
            on_pair(t.substr(i, 2));
            i += 3;
        }
    }
}

int pair_value(const std::string& pair) {
    int value = 0;
    for (char c : pair) {
        const int v = hex_digit_value(c);
        if (v < 0) break;
        value = value * 16 + v;
    }
    return value;
}

}  // namespace

std::string edid_clean_text(const std::string& window_text) {
    const std::string text = trim_blanks(window_text);
    std::string out;
    std::size_t start = 0;
    for (std::size_t lf = text.find('\n'); lf != std::string::npos; lf = text.find('\n', start)) {
        // The CR stays with its line, so only the line's leading blanks go.
        out += trim_blanks(text.substr(start, lf - start)) + "\n";
        start = lf + 1;
    }
    // An image whose length is not a multiple of eight bytes ends in a line
    // without a line end; dropping it would lose those bytes on every save.
    const std::string last = trim_blanks(text.substr(start));
    if (!last.empty()) out += last + "\r\n";
    return out;
}

std::string edid_hex_simple(const std::string& cleaned) { return cleaned + "\r\n"; }

std::string edid_hex_c_language(const std::string& cleaned) {
    std::string out;
    std::string line;
    scan_cleaned(
        cleaned, [&](const std::string& pair) { line += "0x" + pair + ","; },
        [&](const std::string& comment) { line += " //" + comment; },
        [&] {
            out += line + "\r\n";
            line.clear();
        });
    // A last line without CR is kept rather than lost.
    if (!line.empty()) out += line + "\r\n";
    return out;
}

std::string edid_bin_from_text(const std::string& cleaned) {
    std::string out;
    scan_cleaned(
        cleaned, [&](const std::string& pair) { out += static_cast<char>(pair_value(pair)); },
        [](const std::string&) {}, [] {});
    return out;
}

std::optional<EdidSaveFormat> edid_save_format_of(const std::string& path) {
    if (with_extension(path, ".hex") == path) return EdidSaveFormat::hex;
    if (with_extension(path, ".bin") == path) return EdidSaveFormat::bin;
    return std::nullopt;
}

std::optional<EdidHexType> edid_hex_type_named(const std::string& value) {
    if (value == "simple") return EdidHexType::simple;
    if (value == "c") return EdidHexType::c_language;
    return std::nullopt;
}

bool edid_file_save(const std::string& path, const std::string& window_text, EdidSaveFormat format,
                    EdidHexType hex_type, std::string* error) {
    const std::string cleaned = edid_clean_text(window_text);
    std::string bytes;
    if (format == EdidSaveFormat::bin) {
        bytes = edid_bin_from_text(cleaned);
    } else if (hex_type == EdidHexType::simple) {
        bytes = edid_hex_simple(cleaned);
    } else {
        bytes = edid_hex_c_language(cleaned);
    }
    return write_file_atomically(path, bytes, error);
}

}  // namespace t27
