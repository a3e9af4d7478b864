#include "edid/file_names.h"

#include <cctype>

#include "common/path_part.h"

namespace t27 {

namespace {

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

std::string with_extension(const std::string& name, const std::string& extension) {
    if (name.size() >= extension.size() &&
        lower(name.substr(name.size() - extension.size())) == lower(extension)) {
        return name;
    }
    const std::string file = path_part(name, path_file);
    const std::size_t dot = file.rfind('.');
    // A leading dot names a hidden file, not an extension.
    if (dot == std::string::npos || dot == 0) return name + extension;
    return name.substr(0, name.size() - (file.size() - dot)) + extension;
}

}  // namespace t27
