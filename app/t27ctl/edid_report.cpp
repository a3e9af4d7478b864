// `t27ctl edid report FILE`: the analysis report, as the window shows it.
#include "app/t27ctl/edid_commands.h"
#include "edid/analysis_report.h"
#include "edid/edid_check.h"
#include "edid/edid_files.h"

namespace t27 {

int edid_report_run(const CtlArgs& args, std::ostream& out, std::ostream& err) {
    EdidLoad load;
    EdidBuffer working;
    if (int rc = edid_cli_load_checked(args.words[0], load, working, err)) return rc;
    out << edid_report_text(working);
    return edid_cli_ok;
}

}  // namespace t27
