#pragma once
// "t27ctl edid edit": edits an EDID file field by field, with the exit codes
// of the other EDID file commands (edid_commands.h).
#include <ostream>
#include <vector>

#include "app/t27ctl/command_line.h"

namespace t27 {

int edid_edit_run(const CtlArgs& args, std::ostream& out, std::ostream& err);

// The options of "edid edit" that change a field, for the command line.
struct EdidEditOptionHelp {
    const char* name;
    const char* value;
    const char* help;
};
std::vector<EdidEditOptionHelp> edid_edit_option_help();

}  // namespace t27
