#pragma once
// A new, empty folder under the system's temporary folder, on every platform
// the Qt-free suites run on (mkdtemp is POSIX only). Empty on failure.
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace t27::test {

inline std::string make_unique_temp_dir(const std::string& prefix) {
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    if (ec) return {};
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path p = base / (prefix + std::to_string(random() % 1000000000));
        // create_directory is false when the folder was already there.
        if (std::filesystem::create_directory(p, ec)) return p.generic_string();
    }
    return {};
}

}  // namespace t27::test
