#pragma once
// How far a finite cable test has come, from the clock fields the unit
// reported.
#include <array>
#include <optional>
#include <string>

#include "cable/cable_view.h"

namespace t27 {

// Elapsed seconds of the day/hour/minute/second texts; nothing when one of
// them is not a number.
std::optional<long long> cable_elapsed_s(const std::array<std::string, 4>& timer);

// `full` × elapsed / duration, kept inside 0..full.
int cable_progress_value(long long elapsed_s, int duration_s, int full);

// The progress bar after a clock field changed: only while a finite test
// runs, and never at second 0 or 59 - the four fields are read one per poll
// tick, so at a minute boundary they may not belong together.
void cable_progress_update(CableView& view);

}  // namespace t27
