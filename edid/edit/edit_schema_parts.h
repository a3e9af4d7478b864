#pragma once
// The schema's two halves, joined by part_fields().
#include <string>
#include <vector>

#include "edid/edit/edit_schema.h"

namespace t27 {

std::vector<EdidField> base_part_fields(const EdidPart& part);
std::vector<EdidField> descriptor_fields(const std::string& bytes);
std::vector<EdidField> cta_part_fields(const EdidPart& part);
std::vector<EdidListItem> cta_list_items(const EdidPart& part);

}  // namespace t27
