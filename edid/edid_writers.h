#pragma once
// Writers for saved EDID files. They work from the window's hex text (what the
// user sees is what is saved), cleaned first.
#include <optional>
#include <string>

namespace t27 {

enum class EdidHexType { simple = 1, c_language = 2 };

// The window text trimmed of blanks, cut into lines at each LF, each line
// trimmed at its start (separator lines become empty); text after the last
// LF is kept as a line of its own, given a CR LF.
std::string edid_clean_text(const std::string& window_text);

// Simple .hex: the cleaned text and one more CR LF.
std::string edid_hex_simple(const std::string& cleaned);

// C-language .hex: "0xXX," per byte, " //" before each line's index comment,
// empty lines between blocks.
std::string edid_hex_c_language(const std::string& cleaned);

// .bin: the digit pairs of the cleaned text as bytes.
std::string edid_bin_from_text(const std::string& cleaned);

enum class EdidSaveFormat { hex, bin };

// The format a file name asks for by its extension, in any case: ".hex" or
// ".bin"; nothing for any other name.
std::optional<EdidSaveFormat> edid_save_format_of(const std::string& path);

// The value of "--hex-type": "simple" or "c"; nothing for any other word.
std::optional<EdidHexType> edid_hex_type_named(const std::string& value);

// Writes a side's window text to `path` in the given format, replacing any old
// file whole. False (with `error` set) when the file could not be written.
bool edid_file_save(const std::string& path, const std::string& window_text, EdidSaveFormat format,
                    EdidHexType hex_type, std::string* error = nullptr);

}  // namespace t27
