#pragma once
// What the Monitor tab shows while a report is built: the report walks every
// ticked section with one transaction per item, which takes seconds on a
// serial link, so the user sees how far it got.
#include <string>

#include "analyser/monitor_report.h"

namespace t27 {

// "Building report: section 1 of 2, item 12 of 52". The section named is the
// one being worked on (the last one once all are done).
std::string report_progress_text(const ReportProgress& p);

// The same position after a reply failed and the report was given up.
std::string report_stopped_text(const ReportProgress& p);

// Items done in per mille of all items, for a progress bar; 0 when there are none.
int report_progress_permille(const ReportProgress& p);

}  // namespace t27
