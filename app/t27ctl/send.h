#pragma once
// `t27ctl send`: open a link, identify the unit, run one transaction per line.
#include <string>
#include <vector>

#include "app/t27ctl/link.h"

namespace t27 {

// With `json`, stdout gets one JSON document instead of the text lines:
// {"link": {model, family, board, firmware, task, catalogue} or null,
//  "lines": [{request, status, status_name, param1, param2, param3, reply: [...]}]}.
int t27ctl_send(const LinkOptions& options, const std::vector<std::string>& lines,
                bool json = false);

}  // namespace t27
