#include "sim/unit_session.h"

#include "protocol/command_table.h"

namespace t27::sim {

UnitSession::UnitSession(UnitModel& model) : model_(model) {}

std::vector<Emission> UnitSession::feed(const std::string& bytes) {
    wire_log_ += bytes;
    std::vector<Emission> out;
    if (closed_) return out;
    for (const Request& req : parser_.feed(bytes)) {
        Reply reply = model_.handle(req);
        std::string word = cmdstr_cmd_get(req.line + '\r');
        for (Emission& e : apply_faults(model_.faults(), word, reply)) {
            bool closing = e.close_after;
            out.push_back(std::move(e));
            if (closing) {
                closed_ = true;
                return out;
            }
        }
    }
    return out;
}

}  // namespace t27::sim
