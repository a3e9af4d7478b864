#pragma once
// The pattern generator from a script: `t27ctl task`, `timing`, `pattern`,
// `panel` and `sweep`, through the same requests and rules as the Output
// Resolution, Pattern and Control Panel tabs. One file a command.
#include "app/t27ctl/command_line.h"
#include "app/t27ctl/link.h"

namespace t27 {

int t27ctl_task(const LinkOptions& options, const CtlArgs& args);
// `timing` chooses the timing list, else the pattern list.
int t27ctl_catalogue_list(const LinkOptions& options, bool timing, bool json);
int t27ctl_catalogue_set(const LinkOptions& options, bool timing, const CtlArgs& args);
int t27ctl_panel_list(const LinkOptions& options, bool json);
int t27ctl_panel_set(const LinkOptions& options, const CtlArgs& args);
int t27ctl_sweep(const LinkOptions& options, const CtlArgs& args);

}  // namespace t27
