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

#include "app/t27ctl/command_line.h"
#include "app/t27ctl/edid_commands.h"
#include "protocol/engine.h"

namespace t27 {

inline constexpr int edid_cli_unit_failed = 69;

int edid_read_run(Engine& engine, const CtlArgs& args, std::ostream& out, std::ostream& err);
int edid_write_run(Engine& engine, const CtlArgs& args, std::ostream& out, std::ostream& err);

// `args` are the words after "edid", starting with "read" or "write".
int edid_unit_cli(Engine& engine, const std::vector<std::string>& args, std::ostream& out,
                  std::ostream& err);

// The item of a selector that names `slot`, or 0.
int edid_read_item_of(const std::string& slot);
int edid_write_item_of(const std::string& slot);

// What the READ or WRITE side's labels would say after the check.
struct EdidBuffer;
void edid_cli_print_check(const EdidBuffer& checked, std::ostream& out);

}  // namespace t27
