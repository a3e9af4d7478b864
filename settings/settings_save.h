#pragma once
// What the program writes as it ends: the settings file and the favourites of
// the catalogue that is loaded. Each file is replaced whole or left as it was;
// a failed first step does not keep the second from running.
#include <string>
#include <string_view>

#include "generator/favourites.h"
#include "settings/settings.h"

namespace t27 {

struct SaveOutcome {
    bool settings_written = false;
    bool favourites_written = false;
    std::string error;  // both failures joined; empty when both were written

    bool ok() const { return settings_written && favourites_written; }
};

// The favourites belong to the catalogue they were ticked in, never to
// whatever the link state would choose now (a reconnect forgets the family).
// With no catalogue loaded no favourites file is touched.
SaveOutcome settings_and_favourites_save(std::string_view program_dir, const Settings& settings,
                                         const Favourites& favourites,
                                         std::string_view catalogue_file);

// What the window tells the user when `error` (as SaveOutcome::error, naming
// each file and its reason) kept their settings or favourites from the disk.
std::string save_failure_message(const std::string& error);

// Writes the favourites file of `catalogue_file`; false with the reason in
// `error` when it could not be replaced.
bool favourites_save(std::string_view program_dir, std::string_view catalogue_file,
                     const Favourites& favourites, std::string* error);

}  // namespace t27
