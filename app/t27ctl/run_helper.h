#pragma once
// Handing the command line on to a helper program: on POSIX systems the
// helper replaces this process (exec), so signals, exit code and terminal
// go straight to it; Windows has no such call, so there the helper runs as a
// child and its exit code is passed on.
#include <string>
#include <vector>

namespace t27 {

// Runs `program` with `args` (args[0] is the name it sees). Returns the
// helper's exit code on Windows; on POSIX returns only when the helper could
// not be started, with -1 and `error` set.
int run_helper(const std::string& program, const std::vector<std::string>& args,
               std::string& error);

// The helper beside `exe_dir` (a build or portable folder) or in the
// installed layout's private folder, whichever exists; the first when
// neither does, so the message names a path.
std::string helper_path(const std::string& exe_dir, const std::string& name);

// One argument quoted the way the Windows C runtime splits a command line
// back into argv (backslashes double only before a quote).
std::string windows_quoted_arg(const std::string& arg);

}  // namespace t27
