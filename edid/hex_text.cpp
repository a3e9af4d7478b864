#include "edid/hex_text.h"

#include <cctype>

#include "edid/edid_buffer.h"
#include "edid/hex_digits.h"

namespace t27 {

namespace {

std::string line_end(int index) {
    std::string idx = hex_upper(index);
    idx.resize(3, ' ');
    return "//" + idx + "\r\n";
}

std::string pair_of(unsigned value) {
    static const char digits[] = "0123456789ABCDEF";
    return {digits[(value >> 4) & 0xF], digits[value & 0xF]};
}

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string strip(const std::string& s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && is_blank(s[b])) ++b;
    while (e > b && is_blank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

std::vector<std::string> split_lines(const std::string& content) {
    std::vector<std::string> lines;
    std::string cur;
    for (std::size_t i = 0; i < content.size(); ++i) {
        const char c = content[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(cur);
            cur.clear();
            if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n') ++i;
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) lines.push_back(cur);
    return lines;
}

}  // namespace

std::string edid_text_separator() { return std::string(edid_text_line_chars, ' ') + "\r\n"; }

std::string edid_text_format_pairs(const std::vector<std::string>& pairs, int first_index,
                                   EdidSeparatorRule rule) {
    std::string out;
    int k = first_index;
    for (const std::string& pair : pairs) {
        if (rule == EdidSeparatorRule::before_further_blocks && k > 0 &&
            k % edid_block_bytes == 0) {
            out += edid_text_separator();
        }
        for (char c : pair) out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        out += ' ';
        if (k % 8 == 7) out += line_end(k);
        if (rule == EdidSeparatorRule::after_every_block && k % edid_block_bytes == 127) {
            out += edid_text_separator();
        }
        ++k;
    }
    return out;
}

std::size_t edid_text_offset(int p) {
    // "XX " a byte, "//" + index + CR LF a line of eight, the separator and
    // its CR LF a block.
    const int separator = edid_text_line_chars + 2;
    return static_cast<std::size_t>(3 * p + 7 * (p / 8) + separator * (p / edid_block_bytes));
}

std::string edid_text_format(const std::string& bytes, int first_index, EdidSeparatorRule rule) {
    std::vector<std::string> pairs;
    pairs.reserve(bytes.size());
    for (char b : bytes) pairs.push_back(pair_of(static_cast<unsigned char>(b)));
    return edid_text_format_pairs(pairs, first_index, rule);
}

EdidTextParse edid_text_parse(const std::string& content) {
    EdidTextParse result;
    bool too_long = false;
    auto emit = [&](int value) {
        if (result.bytes.size() >= static_cast<std::size_t>(edid_data_bytes)) {
            too_long = true;
            return;
        }
        result.bytes += static_cast<char>(value);
    };

    for (const std::string& raw : split_lines(content)) {
        std::string line = strip(raw);
        const std::size_t slash = line.find('/');
        if (slash != std::string::npos) line = strip(line.substr(0, slash));
        if (line.empty()) continue;

        int pending = -1;  // the one digit waiting for its partner, if any
        for (char ch : line) {
            const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
            const int v = hex_digit_value(c);
            if (v >= 0) {
                if (pending < 0) {
                    pending = v;
                } else {
                    emit(pending * 16 + v);
                    pending = -1;
                }
            } else if (c == 'X') {
                // Only the "0x" prefix may hold an X.
                if (pending != 0) return {};
                pending = -1;
            } else if (pending >= 0) {
                emit(pending);
                pending = -1;
            }
            if (too_long) return {};
        }
        // A lone digit at the end of a line is a byte like one before a comma,
        // so one-value-a-line files keep values such as "F".
        if (pending >= 0) emit(pending);
        if (too_long) return {};
    }
    result.ok = true;
    result.text = edid_text_format(result.bytes, 0, EdidSeparatorRule::after_every_block);
    return result;
}

EdidReplyBlock edid_reply_block_decode(const std::string& data) {
    EdidReplyBlock block;
    for (int i = 0; i < edid_block_bytes; ++i) {
        std::string pair;
        const std::size_t at = static_cast<std::size_t>(3 * i);
        for (std::size_t j = at; j < at + 2 && j < data.size(); ++j) {
            pair += static_cast<char>(std::toupper(static_cast<unsigned char>(data[j])));
        }
        // Digits are read until the first character that is not one.
        int value = 0;
        for (char c : pair) {
            const int v = hex_digit_value(c);
            if (v < 0) break;
            value = value * 16 + v;
        }
        block.bytes += static_cast<char>(value);
        block.pairs.push_back(pair);
    }
    return block;
}

}  // namespace t27
