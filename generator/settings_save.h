#pragma once
// What the program writes as it ends: the settings file and the favourites of
// the family linked at that moment. Each file is replaced whole or left as it
// was; a failed first step does not keep the second from running.
#include <string>
#include <string_view>

#include "generator/favourites.h"
#include "generator/settings.h"

namespace t27 {

struct SaveOutcome {
    bool settings_written = false;
    bool favourites_written = false;
    std::string error;  // both failures joined; empty when both were written

    bool ok() const { return settings_written && favourites_written; }
};

SaveOutcome settings_and_favourites_save(std::string_view program_dir, const Settings& settings,
                                         const Favourites& favourites, int model_family,
                                         int board_id, std::string_view linked_model);

}  // namespace t27
