#pragma once
// The EDID analysis report: check result, summary, a dump of every block,
// the base-block fields and a section per CEA-861 block. Built from a buffer
// that the check has just run on (the working buffer).
#include <string>

#include "edid/edid_buffer.h"

namespace t27 {

std::string edid_report_text(const EdidBuffer& checked);

// The 16 dump lines of block b: " XX XX ... //7F" each, with CR LF.
std::string edid_block_dump(const EdidBuffer& buf, int block);

// The report file: a dated heading, the unit's model and firmware, the
// report, and "END.".
std::string edid_report_file_text(const std::string& report, const std::string& time_text,
                                  const std::string& date_text, const std::string& model_caption,
                                  const std::string& firmware_caption);

}  // namespace t27
