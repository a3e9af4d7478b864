#pragma once
// Path pieces for the EDID file code and the recent-files list. The separator
// is this platform's '/'; the tool these texts come from split on '\'.
#include <string>

namespace t27 {

inline constexpr char path_separator = '/';

enum PathPart : int {
    path_folder = 0,   // the text before the last separator
    path_display = 1,  // a shortened form for labels
    path_file = 2,     // the text after the last separator
};

// mode 0: the folder ("" when the path has no separator); mode 2: the file
// name (the whole path when it has no separator); mode 1: the first three
// characters, "..." and the text from the second-to-last separator on, or the
// whole path when that would not shorten it (fewer than two separators, or
// the second-to-last within the first three characters, as after "C:\").
inline std::string path_part(const std::string& path, int mode) {
    if (path.empty()) return {};
    const std::size_t last = path.rfind(path_separator);
    if (mode == path_folder)
        return last == std::string::npos ? std::string() : path.substr(0, last);
    if (mode == path_file) return last == std::string::npos ? path : path.substr(last + 1);
    if (last == std::string::npos || last == 0) return path;
    const std::size_t second = path.rfind(path_separator, last - 1);
    if (second == std::string::npos || second <= 2) return path;
    return path.substr(0, 3) + "..." + path.substr(second);
}

}  // namespace t27
