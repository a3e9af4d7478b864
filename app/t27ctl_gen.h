#pragma once
// The pattern generator from a script: `t27ctl task`, `timing`, `pattern`,
// `panel` and `sweep`, through the same requests and rules as the Output
// Resolution, Pattern and Control Panel tabs.
#include <string>
#include <vector>

#include "app/t27ctl_link.h"

namespace t27 {

extern const char* const t27ctl_generator_usage;

bool t27ctl_generator_verb(const std::string& word);

// `args` are the words after the verb.
int t27ctl_generator(const LinkOptions& options, const std::string& verb,
                     const std::vector<std::string>& args);

// The commands of their own files.
int t27ctl_panel(const LinkOptions& options, const std::vector<std::string>& args);
int t27ctl_sweep(const LinkOptions& options, const std::vector<std::string>& args);

}  // namespace t27
