#pragma once
// `t27ctl send`: open a link, identify the unit, run one transaction per line.
#include <QStringList>

#include "app/t27ctl_link.h"

namespace t27 {

int t27ctl_send(const LinkOptions& options, const QStringList& lines);

}  // namespace t27
