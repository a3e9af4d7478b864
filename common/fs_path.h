#pragma once
// Paths travel through the program as UTF-8 bytes; std::filesystem has to be
// told so, or on Windows it reads them in the local code page and misses
// every file whose name is not plain ASCII.
#include <filesystem>
#include <string>
#include <system_error>

namespace t27 {

inline std::filesystem::path fs_path(const std::string& utf8) {
    return std::filesystem::path(
        std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

inline bool path_exists(const std::string& utf8) {
    std::error_code ec;
    return std::filesystem::exists(fs_path(utf8), ec);
}

}  // namespace t27
