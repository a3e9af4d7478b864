#include "analyser/report_progress.h"

#include <algorithm>

namespace t27 {

namespace {

std::string position(const ReportProgress& p) {
    const int section =
        std::clamp(p.sections_done + 1, std::min(1, p.sections_total), p.sections_total);
    return "section " + std::to_string(section) + " of " + std::to_string(p.sections_total) +
           ", item " + std::to_string(p.items_done) + " of " + std::to_string(p.items_total);
}

}  // namespace

std::string report_progress_text(const ReportProgress& p) {
    return "Building report: " + position(p);
}

std::string report_stopped_text(const ReportProgress& p) {
    return "Report stopped, the unit did not answer: " + position(p);
}

int report_progress_permille(const ReportProgress& p) {
    if (p.items_total <= 0) return 0;
    const int done = std::clamp(p.items_done, 0, p.items_total);
    return static_cast<int>(static_cast<long long>(done) * 1000 / p.items_total);
}

}  // namespace t27
