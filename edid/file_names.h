#pragma once
#include <string>

namespace t27 {

// A chosen save name with the extension the chosen format needs (".hex",
// ".bin", ".txt"): kept when it already ends with it in any case, otherwise
// its own extension is replaced, and a name without one gets it appended.
std::string with_extension(const std::string& name, const std::string& extension);

}  // namespace t27
