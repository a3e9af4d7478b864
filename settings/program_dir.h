#pragma once
// Where the program's files live. A portable copy (the build folder, the demo,
// an unpacked folder) keeps everything beside its executable. An installed
// program cannot write there: it reads what it ships from
// <prefix>/share/t27-controller and keeps the user's files (settings,
// favourites, com_ports.txt, their own copies of the catalogues) in the
// user's data folder. Decided once at start-up; every file access asks.
#include <functional>
#include <string>
#include <string_view>

#include "common/file_names.h"

namespace t27 {

inline constexpr std::string_view settings_file_name = "Daveri_ini.txt";
inline constexpr std::string_view default_catalogue_name = "v4_timing_pattern.ini";

struct ProgramPlaces {
    std::string shipped;  // read only: catalogues, the favourites they ship with, bmp/
    std::string user;     // read and written: settings, favourites, com_ports.txt

    bool portable() const { return shipped == user; }
};

// Everything in one folder, as --program-dir and the tests ask for.
inline ProgramPlaces places_in(const std::string& dir) { return {dir, dir}; }

// The shipped files of an executable in `exe_dir`: beside it when the default
// catalogue is there, else <exe_dir>/../share/t27-controller when that holds
// it, else beside it (the files are then missing and every reader falls back
// to its defaults).
std::string shipped_dir_for(const std::string& exe_dir);

// Whether a file can be created in `dir` (tried, not guessed from mode bits,
// which neither a read-only mount nor Windows' folder rights show).
bool dir_takes_writes(const std::string& dir);

// `override_dir` (--program-dir; empty when not given) wins outright. Else an
// executable folder that holds the shipped files and takes writes is a
// portable copy; otherwise the user's files go to `user_data_dir`.
ProgramPlaces decide_program_places(
    const std::string& exe_dir, const std::string& override_dir, const std::string& user_data_dir,
    const std::function<bool(const std::string&)>& takes_writes = dir_takes_writes);

// The folder to read catalogue `name` and its favourites file from. With
// separate places the shipped files are copied to the user's folder the first
// time they are needed, so the user's favourites are kept beside the
// catalogue they number; when that copy cannot be made, the shipped folder.
std::string catalogue_dir(const ProgramPlaces& places, std::string_view name);

}  // namespace t27
