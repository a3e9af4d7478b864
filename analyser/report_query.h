#pragma once
// One report item over the transaction engine: the request sent, the reply
// waited for and split. The Monitor tab and `t27ctl monitor-report` both
// build their reports through this.
#include "analyser/monitor_report.h"
#include "protocol/engine.h"

namespace t27 {

ReportReply engine_report_query(Engine& engine, int index);

}  // namespace t27
