#pragma once
// The cable tab's share of the poll: one accepted reply to an entry of the
// cable poll list and what it changes on the tab.
#include <string>

#include "cable/cable_view.h"

namespace t27 {

// `index` is the CommandTable index that was polled, `p` the reply's first
// parameter. Indices outside the cable list change nothing.
void cable_reply_show(CableView& view, int index, const std::string& p,
                      const CableGeometry& geometry);

}  // namespace t27
