#pragma once
// Control-language settings of the cable test: the cable under test and the
// time scale of the unit's test clock.
#include <string>
#include <string_view>

#include "sim/unit_model.h"

namespace t27::sim {

// "set time-scale N" and "set cable good|marginal|bad [SECONDS]". Returns
// "ok", "error: ..." for a bad value, or an empty text when `what` is not a
// cable setting.
std::string set_cable_option(UnitModel& unit, std::string_view what, std::string_view value);

}  // namespace t27::sim
