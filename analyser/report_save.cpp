#include "analyser/report_save.h"

#include <filesystem>
#include <system_error>

#include "analyser/monitor_report.h"
#include "common/atomic_write.h"

namespace t27 {

namespace {

bool file_exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::path(path), ec);
}

}  // namespace

ReportSaveOutcome save_monitor_report(Dialogs& dialogs, const std::string& folder,
                                      const std::string& report_text, const FileExists& exists) {
    ReportSaveOutcome out;
    if (report_text.empty()) {
        out.result = ReportSaveResult::NothingToSave;
        return out;
    }
    const FileExists& present = exists ? exists : FileExists(file_exists);
    for (;;) {
        const std::string chosen = dialogs.save_file(report_save_title, folder, report_save_filter);
        if (chosen.empty()) return out;
        const std::string path = report_file_name(chosen);
        if (path.empty()) return out;
        if (present(path)) {
            const Answer a = dialogs.question(path + " exists. Overwrite it ?", true);
            if (a == Answer::No) continue;
            if (a == Answer::Cancel) return out;
        }
        out.path = path;
        out.result = write_file_atomically(path, report_file_contents(report_text))
                         ? ReportSaveResult::Written
                         : ReportSaveResult::WriteFailed;
        return out;
    }
}

}  // namespace t27
