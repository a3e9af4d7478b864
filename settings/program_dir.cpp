#include "settings/program_dir.h"

#include <filesystem>
#include <system_error>

#include "common/atomic_write.h"
#include "common/fs_path.h"
#include "settings/catalogue_load.h"
#include "protocol/com_map.h"
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

bool same_bytes(const std::string& a, const std::string& b) {
    std::string x, y;
    return read_file_bytes(a, x, nullptr, max_catalogue_bytes) &&
           read_file_bytes(b, y, nullptr, max_catalogue_bytes) && x == y;
}

bool ends_with(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

bool is_favourites_name(std::string_view name) { return ends_with(name, "_fav.ini"); }

bool is_catalogue_name(std::string_view name) {
    return ends_with(name, ".ini") && !is_favourites_name(name);
}

// The plain files directly in `dir`, by name.
std::vector<std::string> file_names_in(const std::string& dir) {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(fs_path(dir), ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code kind;
        if (!it->is_regular_file(kind)) continue;
        const std::u8string u8 = it->path().filename().u8string();
        names.emplace_back(u8.begin(), u8.end());
    }
    return names;
}

// Also through a symlink or another spelling of the path.
bool same_folder(const std::string& a, const std::string& b) {
    std::error_code ec;
    return a == b || std::filesystem::equivalent(fs_path(a), fs_path(b), ec);
}

std::string without_slash(std::string dir) {
    while (dir.size() > 1 && (dir.back() == '/' || dir.back() == '\\')) dir.pop_back();
    return dir;
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

std::string user_dir_for(const std::string& data_dir, const std::string& config_dir,
                         std::string* legacy) {
    std::string_view share = T27_SHARE_FROM_BIN;
    while (share.rfind("../", 0) == 0) share.remove_prefix(3);
    const std::string data = without_slash(data_dir);
    const bool install_writes_it =
        !share.empty() && ends_with(data, share) &&
        (data.size() == share.size() || data[data.size() - share.size() - 1] == '/' ||
         data[data.size() - share.size() - 1] == '\\');
    if (!install_writes_it || config_dir.empty() || without_slash(config_dir) == data) {
        if (legacy) legacy->clear();
        return data_dir;
    }
    if (legacy) *legacy = data_dir;
    return config_dir;
}

std::vector<std::string> adopt_legacy_user_files(const ProgramPlaces& places,
                                                 const std::string& legacy_dir) {
    std::vector<std::string> adopted;
    if (legacy_dir.empty() || places.portable() || same_folder(legacy_dir, places.user))
        return adopted;
    for (const std::string& name : file_names_in(legacy_dir)) {
        const bool wanted =
            name == settings_file_name || name == com_map_file_name || is_favourites_name(name) ||
            (is_catalogue_name(name) &&
             !same_bytes(program_path(legacy_dir, name), program_path(places.shipped, name)));
        const std::string mine = program_path(places.user, name);
        if (!wanted || file_exists(mine)) continue;
        std::string bytes;
        if (!read_file_bytes(program_path(legacy_dir, name), bytes, nullptr, max_catalogue_bytes))
            continue;
        std::error_code ec;
        std::filesystem::create_directories(fs_path(places.user), ec);
        if (write_file_atomically(mine, bytes)) adopted.push_back(name);
    }
    return adopted;
}

std::vector<std::string> forget_first_use_copies(const ProgramPlaces& places) {
    std::vector<std::string> removed;
    // Never the shipped files themselves, whatever path leads to them.
    if (places.portable() || same_folder(places.user, places.shipped)) return removed;
    for (const std::string& name : file_names_in(places.user)) {
        if (!is_catalogue_name(name)) continue;
        const std::string mine = program_path(places.user, name);
        if (!same_bytes(mine, program_path(places.shipped, name))) continue;
        std::error_code ec;
        if (std::filesystem::remove(fs_path(mine), ec)) removed.push_back(name);
    }
    return removed;
}

std::string catalogue_dir(const ProgramPlaces& places, std::string_view name) {
    if (places.portable()) return places.shipped;
    return file_exists(program_path(places.user, name)) ? places.user : places.shipped;
}

std::string favourites_dir(const ProgramPlaces& places, std::string_view name) {
    if (places.portable()) return places.shipped;
    return file_exists(program_path(places.user, favourites_file_for(std::string(name))))
               ? places.user
               : places.shipped;
}

}  // namespace t27
