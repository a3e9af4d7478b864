#pragma once
// The editor's check line: what the WRITE side's check will show once the
// edited image is applied — type or error, checksum labels, manufacturer,
// model and native resolution — in one line.
#include <string>

namespace t27 {

std::string edid_check_line(const std::string& image);

}  // namespace t27
