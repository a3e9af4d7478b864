#pragma once
#include <string>
#include <string_view>

namespace t27 {

// A chosen save name with the extension the chosen format needs (".hex",
// ".bin", ".txt"): kept when it already ends with it in any case; otherwise a
// short extension of its own is replaced and any other name gets it
// appended. Only one to four letters and digits with at least one letter
// count as an extension, so "v1.2 final" and "v1.2" keep every character.
std::string with_extension(const std::string& name, const std::string& extension);

// `dir` + "/" + `name`; a trailing "/" on `dir` is not doubled, and an empty
// `dir` gives `name` alone (the working directory).
std::string program_path(std::string_view dir, std::string_view name);

}  // namespace t27
