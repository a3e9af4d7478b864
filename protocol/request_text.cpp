#include "protocol/request_text.h"

#include "protocol/command_table.h"

namespace t27 {

namespace {

constexpr unsigned not_utf8 = 0xFFFFFFFFu;

bool control_byte(unsigned char c) { return c < 0x20 || c == 0x7F; }

std::string hex2(unsigned v) {
    static const char digits[] = "0123456789ABCDEF";
    return {digits[(v >> 4) & 0xF], digits[v & 0xF]};
}

std::string char_name(unsigned c) {
    switch (c) {
        case '\r': return "CR";
        case '\n': return "LF";
        case 0x00: return "NUL";
        case 0x09: return "TAB";
        case 0x1B: return "ESC";
        case 0x7F: return "DEL";
    }
    if (c <= 0xFF) return "0x" + hex2(c);
    std::string s = "U+";
    for (int shift = c > 0xFFFF ? 16 : 8; shift >= 0; shift -= 8) s += hex2(c >> shift);
    return s;
}

// One code point from `s` at `i`, advancing `i`; a byte that does not start
// a well-formed sequence comes back as `not_utf8` so it is refused, never guessed.
unsigned next_code_point(std::string_view s, std::size_t& i) {
    const unsigned char b = static_cast<unsigned char>(s[i++]);
    if (b < 0x80) return b;
    int more = b >= 0xF0 && b < 0xF5 ? 3 : b >= 0xE0 ? 2 : b >= 0xC2 && b < 0xE0 ? 1 : -1;
    if (more < 0) return not_utf8;
    unsigned cp = b & (0x3F >> more);
    for (; more > 0; --more) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return not_utf8;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return cp;
}

}  // namespace

std::string request_fault(std::string_view request) {
    std::string_view text = request;
    // The same test the engine makes before it appends the data block.
    const bool edid_write = cmdstr_cmd_get(request) == "$edid_write";
    bool ended = true;
    if (edid_write && text.size() >= 2 && text.substr(text.size() - 2) == "\r\n")
        text.remove_suffix(2);
    else if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    else
        ended = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (control_byte(c))
            return "Not sent: the request holds a control character (" + char_name(c) +
                   ") at position " + std::to_string(i + 1) + ".";
    }
    if (!ended) return "Not sent: the request has no line end.";
    return {};
}

bool unit_text_from_utf8(std::string_view utf8, std::string& bytes, std::string& why,
                         std::string_view what) {
    bytes.clear();
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t at = i;
        const unsigned cp = next_code_point(utf8, i);
        if (cp == not_utf8) {
            why = std::string(what) + " is not valid text (byte 0x" +
                  hex2(static_cast<unsigned char>(utf8[at])) + ").";
            return false;
        }
        if (cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp < 0xA0)) {
            why = std::string(what) + " may not hold control characters (" + char_name(cp) +
                  " found).";
            return false;
        }
        if (cp > 0xFF) {
            why = std::string(what) + " holds a character the unit cannot show (" +
                  char_name(cp) + ").";
            return false;
        }
        out += static_cast<char>(cp);
    }
    bytes = std::move(out);
    return true;
}

std::size_t utf8_length(std::string_view utf8) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < utf8.size(); ++n) next_code_point(utf8, i);
    return n;
}

std::string terminal_text(std::string_view unit_bytes, bool keep_lf) {
    std::string out;
    out.reserve(unit_bytes.size());
    for (const char ch : unit_bytes) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (keep_lf && c == '\n') {
            out += ch;
        } else if (control_byte(c) || (c >= 0x80 && c < 0xA0)) {
            out += "\\x" + hex2(c);
        } else if (c >= 0x80) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += ch;
        }
    }
    return out;
}

}  // namespace t27
