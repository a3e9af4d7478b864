#include "settings/settings_save.h"

#include "common/atomic_write.h"
#include "settings/program_dir.h"
#include "protocol/model_table.h"

namespace t27 {

namespace {

void add_error(std::string& errors, const std::string& what) {
    if (!errors.empty()) errors += "; ";
    errors += what;
}

}  // namespace

bool favourites_save(std::string_view program_dir, std::string_view catalogue_file,
                     const Favourites& favourites, std::string* error) {
    const std::string fav_name = favourites_file_for(std::string(catalogue_file));
    return write_file_atomically(program_path(program_dir, fav_name), favourites_bytes(favourites),
                                 error);
}

SaveOutcome settings_and_favourites_save(std::string_view program_dir, const Settings& settings,
                                         const Favourites& favourites,
                                         std::string_view catalogue_file) {
    SaveOutcome outcome;
    std::string error;

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
