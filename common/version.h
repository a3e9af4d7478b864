#pragma once
// The version every program prints for --version: the project's version, and
// the git revision when it was built from a checkout ("2.18 (git 1a2b3c4d5e)";
// "-dirty" when the tree had changes).
#include <string>

namespace t27 {

const char* version_text();

// "PROGRAM VERSION" and a newline, the first line of every --version answer.
inline std::string version_line(const std::string& program) {
    return program + " " + version_text() + "\n";
}

}  // namespace t27
