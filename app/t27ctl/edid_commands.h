#pragma once
// "t27ctl edid ...": the EDID core from the command line, one file a command.
//   report FILE                          the analysis report, as the window shows it
//   check FILE                           type, manufacturer, model, native, checksum labels
//   convert IN OUT [--hex-type simple|c] write OUT as .hex or .bin by its extension
//   compare A B                          the compare result and the differing bytes
//   edit IN OUT [options]                edits field by field (edid_edit.h)
//   decode FILE [--json]                 the editor's model as a tree
// Exit codes: 0 done (valid, or images match), 1 check failed or images differ,
// 64 usage, 65 not an EDID file of its kind, 66 unreadable input, 73 output
// not written.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/t27ctl/command_line.h"

namespace t27 {

inline constexpr int edid_cli_ok = 0;
inline constexpr int edid_cli_negative = 1;
inline constexpr int edid_cli_usage = ctl_exit_usage;
inline constexpr int edid_cli_bad_data = 65;
inline constexpr int edid_cli_no_input = 66;
inline constexpr int edid_cli_cannot_write = 73;

struct EdidLoad;
struct EdidBuffer;
class EdidModel;

// Reads an EDID file as OPEN puts it on the WRITE side: a one-block image
// padded to 256 bytes is one block, as the window's check and editor take it.
// A failure is reported on `err` and its exit code returned (0 when the image
// was read).
int edid_cli_load(const std::string& path, EdidLoad& load, std::ostream& err);
// The same, then checked as the WRITE side checks it.
int edid_cli_load_checked(const std::string& path, EdidLoad& load, EdidBuffer& working,
                          std::ostream& err);
// The same, then read into the editor's model.
int edid_cli_load_model(const std::string& path, std::optional<EdidModel>& model,
                        std::ostream& err);

// The commands, each in its own file.
int edid_report_run(const CtlArgs& args, std::ostream& out, std::ostream& err);
int edid_check_run(const CtlArgs& args, std::ostream& out, std::ostream& err);
int edid_convert_run(const CtlArgs& args, std::ostream& out, std::ostream& err);
int edid_compare_run(const CtlArgs& args, std::ostream& out, std::ostream& err);
int edid_decode_run(const CtlArgs& args, std::ostream& out, std::ostream& err);

// Runs an EDID file command (one that needs no unit).
int edid_file_command_run(const CtlArgs& args, std::ostream& out, std::ostream& err);

// `args` are the words after "edid", read as t27ctl reads them.
int edid_cli_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace t27
