#pragma once
#include <string>

#include "edid/edid_buffer.h"

namespace t27 {

// The analysis report's section for CEA-861 block `block` (1-3): first VIC,
// audio formats, HDMI 1.4b and HF vendor blocks, HDR and 4:2:0. Lines end
// with CR LF.
std::string cea_report_section(const EdidBuffer& buf, int block);

}  // namespace t27
