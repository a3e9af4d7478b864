#include "edid/unit/window_text.h"

#include <algorithm>

#include "common/path_part.h"

namespace t27 {

std::size_t edid_box_position(const std::string& text, std::size_t offset) {
    const std::size_t end = std::min(offset, text.size());
    return offset - static_cast<std::size_t>(
                        std::count(text.begin(), text.begin() + static_cast<long>(end), '\r'));
}

std::string edid_box_text(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

std::string edid_text_from_box(const std::string& box) {
    std::string out;
    out.reserve(box.size() + box.size() / 16);
    for (char c : box) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

std::string edid_dialog_filter(const std::string& pairs) {
    std::string out;
    std::size_t at = 0;
    while (at < pairs.size()) {
        const std::size_t bar = pairs.find('|', at);
        if (bar == std::string::npos) break;
        const std::size_t end = std::min(pairs.find('|', bar + 1), pairs.size());
        std::string pattern = pairs.substr(bar + 1, end - bar - 1);
        std::replace(pattern.begin(), pattern.end(), ';', ' ');
        if (!out.empty()) out += ";;";
        out += pairs.substr(at, bar - at) + " (" + pattern + ")";
        at = end + 1;
    }
    return out;
}

bool edid_save_filter_is_bin(const std::string& chosen_filter) {
    return chosen_filter.rfind("*.bin", 0) == 0;
}

void recent_list_add(RecentList& list, const std::string& path) {
    RecentFiles r{list};
    recent_files_add(r, path);
    list = r.entries;
}

void recent_list_remove(RecentList& list, int i) {
    RecentFiles r{list};
    recent_files_remove(r, i);
    list = r.entries;
}

std::string edid_save_proposal(const std::string& current_path) {
    const std::string file = path_part(current_path, path_file);
    return file.size() > 4 ? file.substr(0, file.size() - 4) : std::string();
}

}  // namespace t27
