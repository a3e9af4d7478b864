#include "analyser/report_query.h"

#include "protocol/command_table.h"

namespace t27 {

ReportReply engine_report_query(Engine& engine, int index) {
    const LinkState& l = engine.link();
    engine.cmdtx_str(command_text(index) + "\r");
    ReportReply r;
    r.status = l.cmdrx_status;
    if (r.status == ReplyStatus::Accepted || r.status == ReplyStatus::ErrorReply) {
        // An error reply under another command word was not split by the
        // transaction; without this the previous reply's values would be written.
        engine.cmdrx_param_get();
        r.params = PollReply{l.cmdrx_param1, l.cmdrx_param2, l.cmdrx_param3};
    }
    return r;
}

}  // namespace t27
