#pragma once
// The hex text of the READ and WRITE windows: eight bytes a line, each line
// exactly 29 characters ("XX " x 8, "//", a three-character index) + CR LF,
// and a line of 29 blanks between blocks.
#include <cstddef>
#include <string>
#include <vector>

namespace t27 {

enum class EdidSeparatorRule {
    // Reading from the unit: a separator before every block after the first.
    before_further_blocks,
    // File loaders: a separator after every complete 128 bytes, the last too.
    after_every_block,
};

inline constexpr int edid_text_line_chars = 29;

// The 29-blank line that stands between blocks, with its CR LF.
std::string edid_text_separator();

// Where the two digits of image byte p start in the hex text of a whole
// image laid out by either rule: 8 digit pairs and a 7-character index
// comment with CR LF a line, and a separator line between blocks.
std::size_t edid_text_offset(int p);

// Hex text for `bytes`, the first of which sits at `first_index` in the image
// (indexes count over the whole image, not per block).
std::string edid_text_format(const std::string& bytes, int first_index, EdidSeparatorRule rule);

// The same, but each byte is shown by a two-character pair given as text
// (the unit's reply characters, upper-cased by the caller or here).
std::string edid_text_format_pairs(const std::vector<std::string>& pairs, int first_index,
                                   EdidSeparatorRule rule);

struct EdidTextParse {
    bool ok = false;
    std::string bytes;  // in order; bytes.size() is the count
    std::string text;   // laid out anew with the file-loader rule
};

// Parses hex text (a .hex file's content). Rejects an "X" that does not follow
// a lone "0", and input of more bytes than the buffer holds.
EdidTextParse edid_text_parse(const std::string& content);

// One 128-byte block as the unit sends it after an "$edid_read" status line:
// 128 groups of three characters, the first two of each the byte in hex.
struct EdidReplyBlock {
    std::string bytes;               // 128 bytes
    std::vector<std::string> pairs;  // the digit pairs as received, upper-cased
};
EdidReplyBlock edid_reply_block_decode(const std::string& data);

}  // namespace t27
