// t27-bench-edid-core: the "t27ctl edid" front end alone, linked without Qt.
// Timed beside t27ctl and edid-decode, it shows how much of t27ctl's time per
// file is the analysis and how much is loading the Qt libraries that t27ctl's
// link commands need.
#include <iostream>
#include <string>
#include <vector>

#include "app/t27ctl/edid_commands.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] != "edid") {
        std::cerr << "usage: t27-bench-edid-core edid report|check|convert|compare ...\n";
        return t27::edid_cli_usage;
    }
    return t27::edid_cli_main(std::vector<std::string>(args.begin() + 1, args.end()), std::cout,
                              std::cerr);
}
