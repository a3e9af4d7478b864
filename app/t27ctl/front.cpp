// t27ctl: the command-line front end. The EDID file commands run here, in a
// program that links no Qt, so a lab script analysing hundreds of files does
// not pay for loading the toolkit on every call; everything that talks to a
// unit runs in t27ctl-link, which this program hands the command line to
// once it has read it: help and usage errors never wait for a link.
#include <iostream>
#include <string>
#include <vector>

#include "app/t27ctl/command_line.h"
#include "app/t27ctl/edid_commands.h"
#include "app/t27ctl/run_helper.h"
#include "common/executable_path.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    // For the man page and the shell's completion.
    if (args.size() == 1 && args[0] == "--commands") {
        t27::ctl_list_commands(std::cout);
        return 0;
    }
    if (!args.empty() && args[0] == "--complete-words") {
        t27::ctl_complete_words(std::vector<std::string>(args.begin() + 1, args.end()), std::cout);
        return 0;
    }
    t27::CtlArgs parsed;
    if (const auto done = t27::ctl_parse(args, parsed, std::cout, std::cerr)) return *done;
    if (!t27::ctl_needs_link(parsed.command))
        return t27::edid_file_command_run(parsed, std::cout, std::cerr);

    const std::string link = t27::helper_path(t27::executable_dir(), "t27ctl-link");
    args.insert(args.begin(), "t27ctl");
    std::string why;
    const int rc = t27::run_helper(link, args, why);
    if (rc >= 0) return rc;
    std::cerr << "t27ctl: cannot start " << link << ": " << why << "\n";
    return 1;
}
