#pragma once
// "SAVE" on the Monitor tab: the file dialog, the overwrite question and the
// write, without a window so it can be driven by recorded answers.
#include <functional>
#include <string>

#include "mainwin/dialogs.h"

namespace t27 {

inline constexpr const char* report_save_title = "Save Monitor Report";
// The dialog's only filter, in the toolkit's "text (patterns)" form.
inline constexpr const char* report_save_filter = "*.txt (*.txt)";

enum class ReportSaveResult { NothingToSave, Cancelled, Written, WriteFailed };

struct ReportSaveOutcome {
    ReportSaveResult result = ReportSaveResult::Cancelled;
    std::string path;  // the file written (or that could not be written)
};

using FileExists = std::function<bool(const std::string& path)>;

// A text file saved from the analyser: the dialog's title and filter, and
// the name a typed name becomes (its extension rule).
struct TextSave {
    const char* title;
    const char* filter;
    std::function<std::string(const std::string& chosen)> file_name;
};

// Asks for a name starting in `folder`; the name rule is applied before the
// overwrite question, so the question names the file that will be written.
// No asks for another name, Cancel gives up. `contents` is written whole.
ReportSaveOutcome save_text_file(Dialogs& dialogs, const std::string& folder, const TextSave& kind,
                                 const std::string& contents, const FileExists& exists = {},
                                 std::string* why = nullptr);

// The report as a ".txt" file. Failures are silent: the report stays on
// screen and can be saved again.
ReportSaveOutcome save_monitor_report(Dialogs& dialogs, const std::string& folder,
                                      const std::string& report_text,
                                      const FileExists& exists = {});

}  // namespace t27
