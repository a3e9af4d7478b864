#include "generator/settings_save.h"

#include "common/atomic_write.h"
#include "generator/program_dir.h"
#include "protocol/model_table.h"

namespace t27 {

namespace {

void add_error(std::string& errors, const std::string& what) {
    if (!errors.empty()) errors += "; ";
    errors += what;
}

}  // namespace

SaveOutcome settings_and_favourites_save(std::string_view program_dir, const Settings& settings,
                                         const Favourites& favourites, int model_family,
                                         int board_id, std::string_view linked_model) {
    SaveOutcome outcome;
    std::string error;

    outcome.settings_written = write_file_atomically(program_path(program_dir, settings_file_name),
                                                     settings_bytes(settings), &error);
    if (!outcome.settings_written) add_error(outcome.error, error);

    const std::string fav_name =
        favourites_file_for(catalogue_file_for(model_family, board_id, std::string(linked_model)));
    error.clear();
    outcome.favourites_written = write_file_atomically(program_path(program_dir, fav_name),
                                                       favourites_bytes(favourites), &error);
    if (!outcome.favourites_written) add_error(outcome.error, error);
    return outcome;
}

}  // namespace t27
