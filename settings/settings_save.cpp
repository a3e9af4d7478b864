#include "settings/settings_save.h"

#include <filesystem>
#include <system_error>

#include "common/atomic_write.h"
#include "common/fs_path.h"
#include "settings/program_dir.h"
#include "protocol/model_table.h"

namespace t27 {

namespace {

// The user's folder is made at start-up, but may be gone by the exit (or was
// never made, for a folder given to the window directly): the work is kept.
void make_folder(std::string_view dir) {
    if (dir.empty()) return;
    std::error_code ec;
    std::filesystem::create_directories(fs_path(std::string(dir)), ec);
}

void add_error(std::string& errors, const std::string& what) {
    if (!errors.empty()) errors += "; ";
    errors += what;
}

}  // namespace

std::string save_failure_message(const std::string& error) {
    return "Your settings or favourites could not be saved, and the next start will not "
           "have them.\n\n" +
           error;
}

bool favourites_save(std::string_view program_dir, std::string_view catalogue_file,
                     const Favourites& favourites, std::string* error) {
    const std::string fav_name = favourites_file_for(std::string(catalogue_file));
    make_folder(program_dir);
    return write_file_atomically(program_path(program_dir, fav_name), favourites_bytes(favourites),
                                 error);
}

SaveOutcome settings_and_favourites_save(std::string_view program_dir, const Settings& settings,
                                         const Favourites& favourites,
                                         std::string_view catalogue_file) {
    SaveOutcome outcome;
    std::string error;
    make_folder(program_dir);

    outcome.settings_written = write_file_atomically(program_path(program_dir, settings_file_name),
                                                     settings_bytes(settings), &error);
    if (!outcome.settings_written) add_error(outcome.error, error);

    if (catalogue_file.empty()) {
        outcome.favourites_written = true;  // nothing was loaded, so nothing is owed
        return outcome;
    }
    error.clear();
    outcome.favourites_written = favourites_save(program_dir, catalogue_file, favourites, &error);
    if (!outcome.favourites_written) add_error(outcome.error, error);
    return outcome;
}

}  // namespace t27
