#pragma once
// The simulator's own control language, used on the control channel and for
// start-up options: arm faults and change what the unit is.
#include <string>
#include <string_view>

#include "sim/unit_model.h"

namespace t27::sim {

// Runs one control line (without line end). Returns "ok", or "error: " and
// the reason. Besides the fault forms of arm_fault:
//   set model TEXT | set board N | set fw TEXT | set task analyser|pattern|cable
//   set sink none|default|d1..d10|3block|4block
//   set source ITEM VALUE | set sinkitem ITEM VALUE (known items only)
//   scenario NAME | glitch NAME MS
//   set time-scale N | set cable good|marginal|bad [SECONDS]
std::string run_control(UnitModel& unit, std::string_view line);

// The control commands, one per line, for --help and the "help" command.
const char* control_help();

}  // namespace t27::sim
