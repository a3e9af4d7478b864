#pragma once
// Files the program keeps beside its executable.
#include <string>
#include <string_view>

namespace t27 {

inline constexpr std::string_view settings_file_name = "Daveri_ini.txt";
inline constexpr std::string_view default_catalogue_name = "v4_timing_pattern.ini";

// `dir` + "/" + `name`; a trailing "/" on `dir` is not doubled, and an empty
// `dir` gives `name` alone (the working directory).
std::string program_path(std::string_view dir, std::string_view name);

}  // namespace t27
