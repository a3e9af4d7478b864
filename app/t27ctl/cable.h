#pragma once
// `t27ctl cable run|stop`: drive the unit's cable test from a script.
#include <string>
#include <vector>

#include "app/t27ctl/command_line.h"
#include "app/t27ctl/link.h"

namespace t27 {

// Exit codes beyond those `send` shares (0 pass, 1 link could not be opened,
// 64 usage).
inline constexpr int cable_exit_lost = 2;        // the unit stopped answering
inline constexpr int cable_exit_refused = 3;     // the unit refused a request
inline constexpr int cable_exit_fail = 4;        // the cable failed
inline constexpr int cable_exit_no_verdict = 5;  // stopped before a verdict

// "cable run" or "cable stop", as `args` say.
int t27ctl_cable(const LinkOptions& options, const CtlArgs& args);

}  // namespace t27
