#pragma once
// "t27ctl edid ...": the EDID core from the command line.
//   report FILE                          the analysis report, as the window shows it
//   check FILE                           type, manufacturer, model, native, checksum labels
//   convert IN OUT [--hex-type simple|c] write OUT as .hex or .bin by its extension
//   compare A B                          the compare result and the differing bytes
//   edit IN OUT [options]                edits field by field (edit_cli.h)
//   decode FILE [--json]                 the editor's model as a tree
// Exit codes: 0 done (valid, or images match), 1 check failed or images differ,
// 64 usage, 65 not an EDID file of its kind, 66 unreadable input, 73 output
// not written.
#include <ostream>
#include <string>
#include <vector>

namespace t27 {

inline constexpr int edid_cli_ok = 0;
inline constexpr int edid_cli_negative = 1;
inline constexpr int edid_cli_usage = 64;
inline constexpr int edid_cli_bad_data = 65;
inline constexpr int edid_cli_no_input = 66;
inline constexpr int edid_cli_cannot_write = 73;

struct EdidLoad;

// Reads an EDID file as OPEN puts it on the WRITE side: a one-block image
// padded to 256 bytes is one block, as the window's check and editor take it.
// A failure is reported on `err` and its exit code returned (0 when the image
// was read).
int edid_cli_load(const std::string& path, EdidLoad& load, std::ostream& err);

// `args` are the words after "edid".
int edid_cli_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace t27
