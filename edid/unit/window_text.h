#pragma once
// Small text rules of the EDID windows that have nothing to do with widgets:
// where a character offset of a CR LF text lands in a text box that keeps
// one character per line break, the file dialog filters, the captions.
#include <array>
#include <cstddef>
#include <string>

#include "edid/recent_files.h"

namespace t27 {

// Offset `offset` of `text` (lines ended by CR LF) in a copy of the text
// whose line breaks are single characters: every CR before it drops out.
std::size_t edid_box_position(const std::string& text, std::size_t offset);

// The text as a text box holds it (LF only) and back (CR LF).
std::string edid_box_text(const std::string& text);
std::string edid_text_from_box(const std::string& box);

// "desc|pattern|desc|pattern" as the file dialog's "desc (pattern);;..."
// form; patterns separated by ";" become blank-separated.
std::string edid_dialog_filter(const std::string& pairs);

inline constexpr const char* edid_open_filter =
    "hex / bin / ddc|*.hex;*.bin;*.ddc|*.hex|*.hex|*.bin|*.bin|*.ddc|*.ddc|*.*|*.*";
inline constexpr const char* edid_save_filter = "*.hex|*.hex|*.bin|*.bin";
// Whether the save dialog's chosen filter entry is the raw-bytes one.
bool edid_save_filter_is_bin(const std::string& chosen_filter);
inline constexpr const char* edid_report_filter = "*.txt|*.txt";

// The main window's recent-files list, as MainState keeps it.
using RecentList = std::array<std::string, edid_recent_file_count>;
void recent_list_add(RecentList& list, const std::string& path);
void recent_list_remove(RecentList& list, int i);

// The name the save dialog proposes for the current file: its file name
// without the last four characters (its extension).
std::string edid_save_proposal(const std::string& current_path);

}  // namespace t27
