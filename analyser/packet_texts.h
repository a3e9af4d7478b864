#pragma once
// Display texts of the numeric packet fields. A code outside a table gives the
// empty text.
#include <string>
#include <string_view>

namespace t27 {

std::string avi_color_space_text(int n);
std::string avi_colorimetry_text(int n);
std::string avi_ext_colorimetry_text(int n);
std::string avi_it_content_text(int n);
std::string gcp_av_mute_text(int n);
// 0 "Not Indicated", the reserved marker "Reserved", any other depth as its number.
std::string gcp_color_depth_text(int n);
// 0..10 and the none marker have a text; every other value gives the empty text,
// which callers treat as "no text" (the display keeps what it showed).
std::string vsi_hdmi_vic_text(int n);
bool vsi_hdmi_vic_has_text(int n);

// The AVI VIC as shown: the number after one blank, then a blank and the VIC's
// name. A VIC past the end of the name table shows its number alone.
std::string avi_vic_text(int vic);

// The audio coding type code whose text this is (1 for "LPCM"); -1 for a
// text that is none of them.
int aif_coding_type_code(std::string_view text);

}  // namespace t27
