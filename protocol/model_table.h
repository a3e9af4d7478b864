#pragma once
// Which unit family a model text belongs to, and which timing/pattern
// catalogue goes with it. Model texts compare exactly, case and blanks included.
#include <string>

namespace t27 {

// 0 V4, 1 V4L, 2 V5; 254 for a text that is not in the table.
int model_family_of(const std::string& model);

// The catalogue file for a linked unit (the "v4" file while not linked).
std::string catalogue_file_for(int model_family, int board_id, const std::string& linked_model);

// The favourites file that goes with a catalogue: ".ini" becomes "_fav.ini".
std::string favourites_file_for(const std::string& catalogue_file);

}  // namespace t27
