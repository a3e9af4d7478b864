#include "common/file_names.h"

#include <cctype>

namespace t27 {

namespace {

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool short_extension(const std::string& text) {
    if (text.empty() || text.size() > 4) return false;
    bool letter = false;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (!std::isalnum(u)) return false;
        letter = letter || std::isalpha(u);
    }
    return letter;
}

}  // namespace

std::string with_extension(const std::string& name, const std::string& extension) {
    if (name.size() >= extension.size() &&
        lower(name.substr(name.size() - extension.size())) == lower(extension)) {
        return name;
    }
    const std::size_t folder_end = name.find_last_of("/\\");
    const std::size_t base = folder_end == std::string::npos ? 0 : folder_end + 1;
    const std::size_t dot = name.rfind('.');
    // A leading dot names a hidden file, not an extension.
    if (dot == std::string::npos || dot <= base || !short_extension(name.substr(dot + 1)))
        return name + extension;
    return name.substr(0, dot) + extension;
}

std::string program_path(std::string_view dir, std::string_view name) {
    std::string path(dir);
    if (!path.empty() && path.back() != '/') path += '/';
    path += name;
    return path;
}

}  // namespace t27
