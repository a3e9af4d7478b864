#pragma once
// What the unit tells about an EDID image without sending it: manufacturer,
// monitor name, native timing and a coarse type, as short texts.
#include <string>

#include "sim/edid_image.h"

namespace t27::sim {

// Three letters from bytes 8-9; "---" when the image is too short.
std::string edid_manufacturer(const EdidBytes& image);
// The first monitor name descriptor, up to its LF, trailing blanks removed.
std::string edid_monitor_name(const EdidBytes& image);
// "1920x1080p60" from the first detailed timing; empty when there is none.
std::string edid_native_text(const EdidBytes& image);
// "analog", "dvi", "hdmi_hd", "hdmi_3g" or "hdmi_6g"; "none" for an image
// whose header is not an EDID header.
std::string edid_type_text(const EdidBytes& image);
// The name a user slot gets when an image is stored in it: "ABC.Name".
std::string edid_slot_name(const EdidBytes& image);

}  // namespace t27::sim
