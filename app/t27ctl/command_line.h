#pragma once
// The command line of t27ctl: one tree of commands and options, read the
// same way by t27ctl (which answers --help, --version and usage errors
// itself, and runs the EDID file commands) and by t27ctl-link (which runs
// the commands that talk to a unit). Qt-free, so t27ctl stays so.
//
// A new command: a value of CtlCommand, its options in CtlArgs, one add_*
// function in command_line.cpp and its own file that runs it.
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace t27 {

inline constexpr int ctl_exit_usage = 64;

enum class CtlCommand {
    none,
    send,
    cable_run,
    cable_stop,
    edid_report,
    edid_check,
    edid_convert,
    edid_compare,
    edid_edit,
    edid_decode,
    edid_read,
    edid_write,
    monitor_report,
    monitor_watch,
    monitor_check,
    task,
    timing_list,
    timing_set,
    pattern_list,
    pattern_set,
    panel_list,
    panel_set,
    sweep,
};

// The options that choose and open the link.
struct CtlLinkArgs {
    std::string tcp_host;  // set for a TCP link
    int tcp_port = 23;
    std::string serial;  // device path or "COMn"
    std::string edid_bin;
    std::string program_dir;
    bool no_link = false;
    bool verbose = false;
};

// What the words of a command line said. Each command reads only its own
// members; the others keep their defaults.
struct CtlArgs {
    CtlCommand command = CtlCommand::none;
    CtlLinkArgs link;
    bool json = false;

    // The command's words, in order: send's LINEs; a FILE; IN OUT; A B;
    // SOURCE; SLOT FILE; the task MODE; N|NAME; ROW CHOICE.
    std::vector<std::string> words;
    std::string out_file;  // -o
    std::string hex_type = "simple";

    // edid edit: each option and its value, in the order given.
    std::vector<std::pair<std::string, std::string>> edits;
    bool force = false;  // edit an image whose header is wrong

    // cable run
    std::string cable_time = "1";
    bool cable_strict = false;
    std::optional<long long> stop_after_s;

    // monitor-report, monitor watch
    std::vector<std::string> sections;
    std::string view = "system";
    std::optional<double> duration_s;
    bool hunt = false;  // monitor watch: catch dropouts

    // monitor check
    std::string edid_file;  // --edid: a file instead of the unit's Rx EDID
    bool watch = false;

    // pattern set, panel set
    std::optional<std::string> motion_text;
    bool yes = false;

    // sweep
    std::string timings = "all";
    std::string patterns;  // empty: the timings alone
    double dwell_s = 5.0;
};

// Whether `command` talks to a unit (and so runs in t27ctl-link).
bool ctl_needs_link(CtlCommand command);

// Reads `args` (the words after the program's name). Nothing when a command
// is to run, described in `parsed`; otherwise the exit code, with the help,
// the version or what was wrong already printed (0 for help and version,
// 64 for a usage error).
std::optional<int> ctl_parse(const std::vector<std::string>& args, CtlArgs& parsed,
                             std::ostream& out, std::ostream& err);

// Every command as its words after "t27ctl" ("send", "edid report", ...),
// one a line: what the man page and the help check walk through.
void ctl_list_commands(std::ostream& out);

// For the shell's completion: the subcommands and options of the command
// that `words` (the words typed so far) lead to, one a line.
void ctl_complete_words(const std::vector<std::string>& words, std::ostream& out);

// A usage error found after parsing (a value the tree cannot judge alone):
// what was wrong and where the help is, on `err`; returns 64.
int ctl_usage_error(std::ostream& err, const std::string& command, const std::string& why);

}  // namespace t27
