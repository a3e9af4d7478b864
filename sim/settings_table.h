#pragma once
// The unit's stored settings: what each set command accepts and the value a
// fresh unit reports before anything was set.
#include <optional>
#include <string>
#include <string_view>

#include "sim/unit_state.h"

namespace t27::sim {

struct SettingDef {
    const char* key;      // set command word without "$"
    const char* initial;  // value of a fresh unit
    // Accepted values joined by "|"; nullptr for a number range or free text.
    const char* choices;
    int lo = 0;  // number range when choices is nullptr and hi > lo
    int hi = 0;
    std::size_t max_text = 0;  // free text up to this length when neither applies
    bool fold_case = false;    // the program sends "White", the unit answers "white"
};

// nullptr when the key is not a stored setting.
const SettingDef* find_setting(std::string_view key);

// Every setting, for listing and tests.
const SettingDef* settings_begin();
const SettingDef* settings_end();

// The value to store for `arg`, or nothing when the unit refuses it.
std::optional<std::string> accept_value(const SettingDef& def, std::string_view arg);

void reset_settings(UnitState& state);

}  // namespace t27::sim
