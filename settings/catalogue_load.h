#pragma once
// Loading a catalogue and its favourites from the program directory. Nothing
// here stops the program: a missing or damaged catalogue gives what could be
// read (possibly empty lists), and favourites that are missing, damaged or
// point past the lists read as empty slots.
#include <cstddef>
#include <string>
#include <string_view>

#include "generator/catalogue.h"
#include "generator/favourites.h"
#include "settings/program_dir.h"

namespace t27 {

// Catalogues and favourites are a few kilobytes; anything far larger is not one.
inline constexpr std::size_t max_catalogue_bytes = 4u * 1024u * 1024u;

struct LoadedCatalogue {
    Catalogue catalogue;
    Favourites favourites;
    bool catalogue_ok = false;
    bool favourites_ok = false;
    std::string error;  // what went wrong, for a log; empty when both are ok
};

// Reads `name` and its favourites file (protocol/model_table.h) from `program_dir`.
LoadedCatalogue catalogue_load(std::string_view program_dir, std::string_view name);

// Reads `name` where catalogue_dir() finds it and its favourites where
// favourites_dir() does: the user's own when there, else the shipped ones.
LoadedCatalogue catalogue_load(const ProgramPlaces& places, std::string_view name);

}  // namespace t27
