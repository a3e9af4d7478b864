#pragma once
// Where the program's files live. A portable copy (the build folder, the demo,
// an unpacked folder) keeps everything beside its executable. An installed
// program cannot write there: it reads what it ships from
// <prefix>/share/t27-controller and keeps the user's files (settings,
// favourites, com_ports.txt, catalogues of their own) in a folder of the
// user's that no install writes. Decided once at start-up; every file access
// asks.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

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

// The user's folder of an installed program. `data_dir` (the system's data
// folder for this program) is where an install to a prefix in the home folder
// puts the shipped files when it has the form <prefix>/share/t27-controller
// (~/.local/share/t27-controller on Linux): an install would then overwrite the
// user's favourites, so `config_dir` is used instead. `legacy` receives the
// folder earlier versions kept the user's files in, when it differs.
std::string user_dir_for(const std::string& data_dir, const std::string& config_dir,
                         std::string* legacy = nullptr);

// The first start with a new user's folder: copies what earlier versions kept
// in `legacy_dir` and the user would miss (settings, com_ports.txt, every
// favourites file, catalogues that differ from the shipped one of that name).
// Nothing is copied over a file already there; `legacy_dir` is left as it
// was. Returns the names copied.
std::vector<std::string> adopt_legacy_user_files(const ProgramPlaces& places,
                                                 const std::string& legacy_dir);

// Earlier versions copied each shipped catalogue to the user's folder on first
// use and read only the copy from then on, so a corrected catalogue never
// reached them. A copy still byte-identical to the shipped file is removed;
// one the user changed stays, and overrides. Returns the names removed.
std::vector<std::string> forget_first_use_copies(const ProgramPlaces& places);

// The folder to read catalogue `name` from: the user's folder when the user
// put a catalogue of that name there, else the shipped one (so a package
// upgrade reaches every user).
std::string catalogue_dir(const ProgramPlaces& places, std::string_view name);

// The folder to read the favourites of catalogue `name` from: the user's when
// they have that file (it is written there at exit), else the shipped
// defaults. Favourites are always written to `places.user`.
std::string favourites_dir(const ProgramPlaces& places, std::string_view name);

}  // namespace t27
