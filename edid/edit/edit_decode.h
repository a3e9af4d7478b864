#pragma once
// "t27ctl edid decode": the editor's model printed as a tree or as JSON —
// every field it can edit, and the bytes it keeps raw.
#include <string>

#include "edid/edit/edit_model.h"

namespace t27 {

std::string edid_decode_text(const EdidModel& m);
std::string edid_decode_json(const EdidModel& m);

}  // namespace t27
