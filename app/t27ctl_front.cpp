// t27ctl: the command-line front end. The EDID file commands run here, in a
// program that links no Qt, so a lab script analysing hundreds of files does
// not pay for loading the toolkit on every call; everything that talks to a
// unit runs in t27ctl-link beside it, which this program replaces itself with.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "edid/edid_cli.h"

namespace {

std::string own_folder() {
    std::string path(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (n <= 0) return ".";
    path.resize(static_cast<std::size_t>(n));
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

bool unit_verb(const std::string& verb) { return verb == "read" || verb == "write"; }

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "edid" && (args.size() < 2 || !unit_verb(args[1])))
        return t27::edid_cli_main(std::vector<std::string>(args.begin() + 1, args.end()), std::cout,
                                  std::cerr);

    const std::string link = own_folder() + "/t27ctl-link";
    argv[0] = const_cast<char*>("t27ctl");
    ::execv(link.c_str(), argv);
    std::cerr << "t27ctl: cannot start " << link << ": " << std::strerror(errno) << "\n";
    return 1;
}
