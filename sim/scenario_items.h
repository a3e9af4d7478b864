#pragma once
// From a scenario to what the unit reports about its input: every
// "$source_detect? " item and every packet's bytes.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sim/scenarios.h"

namespace t27::sim {

using SourceItems = std::map<std::string, std::string, std::less<>>;

// Every source item, each one present whatever the scenario (an absent
// signal reads "off", "none" or "0").
SourceItems scenario_items(const Scenario& s);

// An InfoFrame: type, version, length, checksum (making the byte sum 0 mod
// 256), then the payload.
std::vector<std::uint8_t> infoframe_bytes(std::uint8_t type, std::uint8_t version,
                                          const std::vector<std::uint8_t>& payload);

// Bytes as the unit reports them: two upper-case hex digits each, one blank
// between.
std::string packet_hex(const std::vector<std::uint8_t>& bytes);

// The packets as byte lists (header, checksum or SB0, payload); empty for a
// packet the source does not send.
struct ScenarioPackets {
    std::vector<std::uint8_t> avi, aif, spd, gcp, vsi, drm;
};
ScenarioPackets scenario_packets(const Scenario& s);

}  // namespace t27::sim
