// t27ctl: the command-line front end. The EDID file commands run here, in a
// program that links no Qt, so a lab script analysing hundreds of files does
// not pay for loading the toolkit on every call; everything that talks to a
// unit runs in t27ctl-link, which this program hands the command line to.
#include <iostream>
#include <string>
#include <vector>

#include "app/run_helper.h"
#include "common/executable_path.h"
#include "common/version.h"
#include "edid/edid_cli.h"

namespace {

bool unit_verb(const std::string& verb) { return verb == "read" || verb == "write"; }

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "--version") {
        std::cout << t27::version_line("t27ctl");
        return 0;
    }
    if (!args.empty() && args[0] == "edid" && (args.size() < 2 || !unit_verb(args[1])))
        return t27::edid_cli_main(std::vector<std::string>(args.begin() + 1, args.end()), std::cout,
                                  std::cerr);

    const std::string link = t27::helper_path(t27::executable_dir(), "t27ctl-link");
    args.insert(args.begin(), "t27ctl");
    std::string why;
    const int rc = t27::run_helper(link, args, why);
    if (rc >= 0) return rc;
    std::cerr << "t27ctl: cannot start " << link << ": " << why << "\n";
    return 1;
}
