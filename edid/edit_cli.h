#pragma once
// "t27ctl edid edit" and "t27ctl edid decode", beside the other EDID file
// commands of edid_cli.h and with its exit codes.
#include <ostream>
#include <string>
#include <vector>

namespace t27 {

// `args` are the words after "edid", the verb first.
int edid_cli_edit(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int edid_cli_decode(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The lines these two add to the usage text.
extern const char* const edid_edit_usage;

}  // namespace t27
