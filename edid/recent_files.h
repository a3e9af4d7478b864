#pragma once
// The ten most recent EDID files, entry 0 the newest; "" is an empty entry.
#include <array>
#include <string>

namespace t27 {

// Named apart from the settings file's count so both headers can meet in
// one file; the window checks that the two agree.
inline constexpr int edid_recent_file_count = 10;

struct RecentFiles {
    std::array<std::string, edid_recent_file_count> entries;
};

// Puts `path` at entry 0; an entry already holding it moves up, the others
// keep their order, and the oldest falls off when the path is new.
void recent_files_add(RecentFiles& files, const std::string& path);

// Removes entry i (a file that no longer exists); the later ones move up.
void recent_files_remove(RecentFiles& files, int i);

}  // namespace t27
