#pragma once
// Readers for the three EDID file formats: .hex text, raw .bin bytes and .ddc
// dumps whose last 256 or 128 bytes are the EDID.
#include <string>

#include "edid/edid_buffer.h"

namespace t27 {

enum class EdidFileKind { hex, bin, ddc, unknown };

// By the last three characters of the path, in any case: "HEX", "BIN", "DDC".
EdidFileKind edid_file_kind(const std::string& path);

enum class EdidLoadError {
    none,
    file_format,  // an extension the program does not read
    data,         // content that is not an EDID image of that format
    unreadable,   // the file could not be opened or read
};

struct EdidLoad {
    EdidLoadError error = EdidLoadError::none;
    EdidBuffer buffer;       // the image at indices 0, 1, ...; size set; the rest zero
    std::string text;        // the window's hex text
    std::string io_message;  // why an unreadable file could not be read

    bool ok() const { return error == EdidLoadError::none; }
};

// Status caption of a load error: "File format" or "Data" (empty otherwise).
std::string edid_load_error_name(EdidLoadError error);

// Content readers. An empty file, a .hex rejected by the parser, a .bin longer
// than the buffer, and a .ddc shorter than 256 bytes or without a header in
// either place are all "Data".
EdidLoad edid_read_hex(const std::string& content);
EdidLoad edid_read_bin(const std::string& content);
EdidLoad edid_read_ddc(const std::string& content);

// Picks the reader by the path's extension and reads the file.
EdidLoad edid_file_load(const std::string& path);

}  // namespace t27
