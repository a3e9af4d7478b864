#pragma once
// Where the running program lives. Every operating system answers this in its
// own way; the rest of the tree asks here.
#include <string>

namespace t27 {

// The running executable's full path (UTF-8); empty when the system does not
// say.
std::string executable_path();

// The folder of executable_path(); "." when it is not known.
std::string executable_dir();

}  // namespace t27
