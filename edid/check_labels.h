#pragma once
// What the status controls beside a READ or WRITE window show after a check:
// captions, colours and which "R" buttons are visible.
#include <array>
#include <optional>
#include <string>

#include "common/colours.h"
#include "edid/edid_buffer.h"

namespace t27 {

inline constexpr Colour edid_error_colour = colour::red;
inline constexpr Colour edid_plain_colour = 0;

struct ChecksumLabel {
    std::string caption;  // "BK1", "BK1=3Ah", "BK1=3Ah Error"
    Colour colour = edid_plain_colour;
    bool recover_visible = false;  // the block's "R" button
};

std::array<ChecksumLabel, edid_max_blocks> checksum_labels_show(const EdidBuffer& buf);

struct TypeLabels {
    std::optional<std::string> type;  // empty: the label keeps its caption
    std::string manufacturer;
    std::string model1;                 // the first 8 characters of the monitor name
    std::string model2;                 // the rest
    std::optional<std::string> native;  // only with a detailed timing
};

TypeLabels type_labels_show(const EdidBuffer& buf);

// "ANALOG", "DVI", "HDMI HD", "HDMI 3G", "HDMI 6G"; empty for other codes.
std::string edid_type_name(int type_code, int type_detail);

struct MessageLabels {
    bool visible = false;
    std::string msg1;  // "Wrong ---"
    std::string msg2;  // "Header", "Checksum", "Block No."
    Colour colour = edid_plain_colour;
};

inline constexpr const char* edid_wrong_caption = "Wrong ---";

// The message labels after a check: shown in red when it failed.
MessageLabels check_message_labels(const EdidBuffer& buf);

// The message labels after a file could not be loaded: "Wrong ---" and the
// load error's name ("Data", "File format"), shown in black.
MessageLabels load_message_labels(const std::string& error_name);

// "Header", "Checksum" or "Block No." for a failed check's type_detail.
std::string edid_error_name(int type_detail);

}  // namespace t27
