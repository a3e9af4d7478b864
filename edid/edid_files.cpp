#include "edid/edid_files.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "common/atomic_write.h"
#include "edid/hex_digits.h"
#include "edid/hex_text.h"

namespace t27 {

namespace {

struct KindName {
    const char* suffix;
    EdidFileKind kind;
};
constexpr std::array<KindName, 3> kind_names = {
    {{"HEX", EdidFileKind::hex}, {"BIN", EdidFileKind::bin}, {"DDC", EdidFileKind::ddc}}};

// The end of a dump that holds its image (one or two blocks).
constexpr std::uintmax_t ddc_tail_bytes = 256;
// No hex text of an image comes near this, comments and all.
constexpr std::uintmax_t edid_hex_file_limit = 1u << 20;

EdidLoad failed(EdidLoadError e) {
    EdidLoad r;
    r.error = e;
    return r;
}

EdidLoad loaded(const std::string& bytes, std::string text) {
    EdidLoad r;
    if (!edid_store(r.buffer, bytes)) return failed(EdidLoadError::data);
    r.text = std::move(text);
    return r;
}

bool header_at(const std::string& content, std::size_t at) {
    for (std::size_t i = 0; i < edid_header.size(); ++i) {
        if (static_cast<unsigned char>(content[at + i]) != edid_header[i]) return false;
    }
    return true;
}

// The 16 lines a one-block dump is shown with in place of block 1.
std::string ddc_filler_lines() {
    std::string out;
    for (int d = 0; d < 16; ++d) {
        out +=
            "FF FF FF FF FF FF FF FF //" + hex_upper(static_cast<unsigned>(135 + 8 * d)) + "\r\n";
    }
    return out;
}

}  // namespace

EdidFileKind edid_file_kind(const std::string& path) {
    if (path.size() < 3) return EdidFileKind::unknown;
    std::string tail = path.substr(path.size() - 3);
    for (char& c : tail) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const KindName& k : kind_names) {
        if (tail == k.suffix) return k.kind;
    }
    return EdidFileKind::unknown;
}

std::string edid_load_error_name(EdidLoadError error) {
    switch (error) {
        case EdidLoadError::file_format:
            return "File format";
        case EdidLoadError::data:
            return "Data";
        default:
            return {};
    }
}

EdidLoad edid_read_hex(const std::string& content) {
    const EdidTextParse p = edid_text_parse(content);
    // Text without a single byte (comments, blanks, stray words) is no image:
    // taken as one, it sent two blocks of zeros to the unit.
    if (!p.ok || p.bytes.empty()) return failed(EdidLoadError::data);
    return loaded(p.bytes, p.text);
}

EdidLoad edid_read_bin(const std::string& content) {
    // Refused before the text is built: laying out a multi-megabyte file as
    // hex text only to reject it froze the window for seconds.
    if (content.empty() || content.size() > static_cast<std::size_t>(edid_data_bytes))
        return failed(EdidLoadError::data);
    return loaded(content, edid_text_format(content, 0, EdidSeparatorRule::after_every_block));
}

EdidLoad edid_read_ddc(const std::string& content) {
    const std::size_t len = content.size();
    if (len < 256) return failed(EdidLoadError::data);
    if (header_at(content, len - 256)) return edid_read_bin(content.substr(len - 256));
    if (!header_at(content, len - 128)) return failed(EdidLoadError::data);
    const std::string image = content.substr(len - 128);
    EdidLoad r = loaded(image, edid_text_format(image, 0, EdidSeparatorRule::after_every_block) +
                                   ddc_filler_lines());
    // The window shows block 1 as all FF; the buffer says the same, so that a
    // compare or a save never sees bytes the text does not show.
    std::fill(r.buffer.data.begin() + 128, r.buffer.data.begin() + 256, std::uint8_t{0xFF});
    return r;
}

EdidLoad edid_file_load(const std::string& path) {
    const EdidFileKind kind = edid_file_kind(path);
    if (kind == EdidFileKind::unknown) return failed(EdidLoadError::file_format);
    // A file far larger than any image of its kind is judged by its size
    // without being read: a 10 MB file chosen by mistake must not stall the
    // window. A dump is read from its end, where its image is.
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    std::size_t tail = 0;
    if (!ec) {
        if (kind == EdidFileKind::bin && size > static_cast<std::uintmax_t>(edid_data_bytes))
            return failed(EdidLoadError::data);
        if (kind == EdidFileKind::hex && size > edid_hex_file_limit)
            return failed(EdidLoadError::data);
        if (kind == EdidFileKind::ddc) {
            if (size < ddc_tail_bytes) return failed(EdidLoadError::data);
            tail = ddc_tail_bytes;
        }
    }
    std::string content;
    std::string message;
    if (!read_file_bytes(path, content, &message, 64u * 1024u * 1024u, tail)) {
        EdidLoad r = failed(EdidLoadError::unreadable);
        r.io_message = message;
        return r;
    }
    switch (kind) {
        case EdidFileKind::hex:
            return edid_read_hex(content);
        case EdidFileKind::bin:
            return edid_read_bin(content);
        default:
            return edid_read_ddc(content);
    }
}

}  // namespace t27
