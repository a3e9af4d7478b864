#include "edid/recent_files.h"

namespace t27 {

void recent_files_add(RecentFiles& files, const std::string& path) {
    auto& e = files.entries;
    int from = edid_recent_file_count - 1;
    for (int i = 0; i < edid_recent_file_count; ++i) {
        if (e[static_cast<std::size_t>(i)] == path) {
            from = i;
            break;
        }
    }
    for (int i = from; i > 0; --i)
        e[static_cast<std::size_t>(i)] = e[static_cast<std::size_t>(i - 1)];
    e[0] = path;
}

void recent_files_remove(RecentFiles& files, int i) {
    if (i < 0 || i >= edid_recent_file_count) return;
    auto& e = files.entries;
    for (int k = i; k + 1 < edid_recent_file_count; ++k) {
        e[static_cast<std::size_t>(k)] = e[static_cast<std::size_t>(k + 1)];
    }
    e[edid_recent_file_count - 1].clear();
}

}  // namespace t27
