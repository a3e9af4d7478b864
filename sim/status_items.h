#pragma once
// What the unit reports about its input (source side) and the attached sink:
// the items of "$source_detect? " and "$sink_detect? ".
#include <cstdint>
#include <string>
#include <vector>

#include "sim/scenarios.h"
#include "sim/unit_state.h"

namespace t27::sim {

// An InfoFrame as the unit reports it: header bytes, checksum, payload, each
// as two upper-case hex digits, blank-separated.
std::string infoframe_hex(std::uint8_t type, std::uint8_t version,
                          const std::vector<std::uint8_t>& payload);

// Replaces every source item (and any fine-grained override) with what the
// scenario's source sends.
void apply_scenario(UnitState& state, const Scenario& scenario);

// The default scenario: a 1080p60 RGB 8-bit source with 2-channel LPCM at
// 48 kHz, unencrypted.
void reset_source_items(UnitState& state);

// The sink items follow whether a sink is attached.
void reset_sink_items(UnitState& state);

}  // namespace t27::sim
