#include "settings/program_dir.h"

#include <filesystem>
#include <system_error>

#include "common/atomic_write.h"
#include "common/fs_path.h"
#include "generator/catalogue_load.h"
#include "protocol/model_table.h"

#ifndef T27_SHARE_FROM_BIN
#define T27_SHARE_FROM_BIN "../share/t27-controller"
#endif

namespace t27 {

namespace {

bool file_exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(fs_path(path), ec);
}

// Copies `name` from the shipped folder unless the user already has one.
bool user_has(const ProgramPlaces& places, const std::string& name) {
    const std::string mine = program_path(places.user, name);
    if (file_exists(mine)) return true;
    std::string bytes;
    if (!read_file_bytes(program_path(places.shipped, name), bytes, nullptr, max_catalogue_bytes))
        return false;
    std::error_code ec;
    std::filesystem::create_directories(fs_path(places.user), ec);
    return write_file_atomically(mine, bytes);
}

}  // namespace

std::string shipped_dir_for(const std::string& exe_dir) {
    if (file_exists(program_path(exe_dir, default_catalogue_name))) return exe_dir;
    const std::string installed = program_path(exe_dir, T27_SHARE_FROM_BIN);
    if (file_exists(program_path(installed, default_catalogue_name))) {
        std::error_code ec;
        const std::filesystem::path clean =
            std::filesystem::weakly_canonical(fs_path(installed), ec);
        if (ec) return installed;
        const std::u8string u8 = clean.generic_u8string();
        return std::string(u8.begin(), u8.end());
    }
    return exe_dir;
}

bool dir_takes_writes(const std::string& dir) {
    const std::string probe = program_path(dir, ".t27-write-probe");
    if (!write_file_atomically(probe, {})) return false;
    std::error_code ec;
    std::filesystem::remove(fs_path(probe), ec);
    return true;
}

ProgramPlaces decide_program_places(const std::string& exe_dir, const std::string& override_dir,
                                    const std::string& user_data_dir,
                                    const std::function<bool(const std::string&)>& takes_writes) {
    if (!override_dir.empty()) return places_in(override_dir);
    const std::string shipped = shipped_dir_for(exe_dir);
    // Only a folder that holds the shipped files is a portable copy: an
    // installed program's bin folder may take writes (root, a prefix in the
    // home folder) but is no place for settings.
    if (shipped == exe_dir && takes_writes(exe_dir)) return places_in(exe_dir);
    return {shipped, user_data_dir};
}

std::string catalogue_dir(const ProgramPlaces& places, std::string_view name) {
    if (places.portable()) return places.shipped;
    const std::string catalogue(name);
    if (user_has(places, catalogue)) {
        user_has(places, favourites_file_for(catalogue));
        return places.user;
    }
    return places.shipped;
}

}  // namespace t27
