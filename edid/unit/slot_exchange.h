#pragma once
// The unit's EDID slots: their names, renaming a user slot, the EDID source
// the unit's input offers, and copying the attached sink's EDID into a slot.
#include <array>
#include <optional>
#include <string>

#include "edid/unit/edid_items.h"
#include "protocol/engine.h"

namespace t27 {

struct SlotNames {
    // What the unit reported; an empty entry keeps the name shown before.
    std::array<std::optional<std::string>, edid_slot_count> defaults;
    std::array<std::optional<std::string>, edid_slot_count> users;
    int rx_index = 0;  // 0 when not reported
};

// "$edid_name? d1" ... "$edid_name? c10", then "$edid_rx?". The first refused
// request ends the refresh; names already reported are kept.
SlotNames slot_names_refresh(Engine& engine);

// Why a rename cannot go ahead ("Wrong name", "Sink can't be named.", a
// control character or one the unit cannot take), or empty; `text` is what was
// typed (UTF-8), `name` gets it trimmed of outer blanks, one byte a character.
std::string slot_rename_problem(const std::string& text, int write_item, std::string& name);

// "$edid_name c" n "," name: true when the unit echoes the same name.
bool slot_rename(Engine& engine, int n, const std::string& name);

// Selects the input's EDID source; the reply is not examined.
void rx_source_set(Engine& engine, int index);

enum class CopySinkEnd {
    silent,  // no answer: nothing to report
    failed,  // the unit refused the copy: "Copy fail !"
    copied,
};

struct CopySinkResult {
    CopySinkEnd end = CopySinkEnd::silent;
    std::optional<std::string> name;  // the slot's new name, when reported
};

inline constexpr const char* copy_fail_caption = "Copy fail !";

// "$edid_copy_sink c" n, then the slot's new name. The unit refuses with a
// first parameter "err", which the transaction reports as an error reply;
// that refusal is what "Copy fail !" is for.
CopySinkResult copy_sink(Engine& engine, int n);

}  // namespace t27
