#include "analyser/ui/report_save.h"

#include "analyser/monitor_report.h"
#include "common/atomic_write.h"
#include "common/fs_path.h"

namespace t27 {

ReportSaveOutcome save_text_file(Dialogs& dialogs, const std::string& folder, const TextSave& kind,
                                 const std::string& contents, const FileExists& exists,
                                 std::string* why) {
    ReportSaveOutcome out;
    const FileExists& present = exists ? exists : FileExists(path_exists);
    for (;;) {
        const std::string chosen = dialogs.save_file(kind.title, folder, kind.filter);
        if (chosen.empty()) return out;
        const std::string path = kind.file_name(chosen);
        if (path.empty()) return out;
        if (present(path)) {
            const Answer a = dialogs.question(path + " exists. Overwrite it ?", true);
            if (a == Answer::No) continue;
            if (a == Answer::Cancel) return out;
        }
        out.path = path;
        out.result = write_file_atomically(path, contents, why) ? ReportSaveResult::Written
                                                                : ReportSaveResult::WriteFailed;
        return out;
    }
}

ReportSaveOutcome save_monitor_report(Dialogs& dialogs, const std::string& folder,
                                      const std::string& report_text, const FileExists& exists) {
    if (report_text.empty()) return {ReportSaveResult::NothingToSave, {}};
    return save_text_file(dialogs, folder,
                          {report_save_title, report_save_filter, report_file_name},
                          report_file_contents(report_text), exists);
}

}  // namespace t27
