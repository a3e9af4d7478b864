#include "settings/catalogue_load.h"

#include "common/atomic_write.h"
#include "common/file_names.h"
#include "protocol/model_table.h"

namespace t27 {

namespace {

void add_error(std::string& errors, const std::string& file, const std::string& what) {
    if (!errors.empty()) errors += "; ";
    errors += file + ": " + what;
}

LoadedCatalogue load_from(std::string_view program_dir, std::string_view fav_dir,
                          std::string_view name) {
    LoadedCatalogue result;

    const std::string catalogue_path = program_path(program_dir, name);
    std::string bytes;
    std::string io_error;
    if (read_file_bytes(catalogue_path, bytes, &io_error, max_catalogue_bytes)) {
        CatalogueParse parsed = catalogue_parse(std::move(bytes));
        result.catalogue = std::move(parsed.catalogue);
        result.catalogue_ok = parsed.ok;
        if (!parsed.ok) add_error(result.error, catalogue_path, parsed.error);
    } else {
        add_error(result.error, catalogue_path, io_error);
    }

    const std::string fav_path = program_path(fav_dir, favourites_file_for(std::string(name)));
    bytes.clear();
    if (read_file_bytes(fav_path, bytes, &io_error, max_catalogue_bytes)) {
        FavouritesParse parsed = favourites_parse(std::move(bytes), result.catalogue.timing_count(),
                                                  result.catalogue.pattern_count());
        result.favourites = parsed.favourites;
        result.favourites_ok = parsed.ok;
        if (!parsed.ok) add_error(result.error, fav_path, parsed.error);
    } else {
        add_error(result.error, fav_path, io_error);
    }
    return result;
}

}  // namespace

LoadedCatalogue catalogue_load(std::string_view program_dir, std::string_view name) {
    return load_from(program_dir, program_dir, name);
}

LoadedCatalogue catalogue_load(const ProgramPlaces& places, std::string_view name) {
    return load_from(catalogue_dir(places, name), favourites_dir(places, name), name);
}

}  // namespace t27
