#pragma once
// "t27ctl edid read|write": the unit side of the EDID tab from the command
// line, over a link the caller has opened and identified.
//   read SOURCE -o FILE [--hex-type simple|c]   SOURCE: sink_h, sink_v, d1-d10, c1-c10
//   write SLOT FILE                             SLOT: sink_h, sink_v, c1-c10
// FILE is .hex or .bin (read and write) or .ddc (write). Exit codes as for the
// other "edid" commands, and 69 when the unit did not give or take the EDID.
#include <ostream>
#include <string>
#include <vector>

#include "protocol/engine.h"

namespace t27 {

inline constexpr int edid_cli_unit_failed = 69;

// True for the words this front end handles ("read", "write").
bool edid_unit_cli_verb(const std::string& verb);

// `args` are the words after "edid", starting with the verb.
int edid_unit_cli(Engine& engine, const std::vector<std::string>& args, std::ostream& out,
                  std::ostream& err);

}  // namespace t27
