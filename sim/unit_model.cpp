#include "sim/unit_model.h"

#include <chrono>

#include "protocol/command_table.h"
#include "sim/settings_table.h"
#include "sim/status_items.h"

namespace t27::sim {

namespace {

// The command word of a line without its CR: the text before the first
// blank, or the whole line; empty when the line does not start with "$".
std::string_view word_of(std::string_view line) {
    if (line.empty() || line.front() != '$') return {};
    return line.substr(0, line.find(' '));
}

std::string_view args_of(std::string_view line) {
    std::size_t blank = line.find(' ');
    if (blank == std::string_view::npos) return {};
    return line.substr(blank + 1);
}

}  // namespace

UnitModel::UnitModel()
    : clock_([] {
          return std::chrono::duration_cast<std::chrono::milliseconds>(
                     std::chrono::steady_clock::now().time_since_epoch())
              .count();
      }) {
    add_settings_handlers(handlers_);
    add_identity_handlers(handlers_);
    add_edid_handlers(handlers_);
    add_status_handlers(handlers_);
    add_generator_handlers(handlers_);
    add_cable_handlers(handlers_);
    attach_sink("default");
    reset_source_items(state_);
    factory_reset();
}

Reply UnitModel::handle(const Request& request) {
    std::string_view line = request.line;
    if (line.empty() && !request.has_data) {
        Reply none;
        none.silent = true;
        return none;
    }
    std::string_view word = word_of(line);
    if (request.truncated) return make_error(word, "len");
    auto it = handlers_.find(word);
    if (word.empty() || it == handlers_.end()) return make_error(word, "cmd");
    return it->second(*this, Call{request, word, args_of(line)});
}

Reply UnitModel::handle_line(std::string_view line) {
    Request r;
    r.line = std::string(line);
    return handle(r);
}

bool UnitModel::attach_sink(std::string_view which) {
    if (!choose_sink(state_.edid, which)) return false;
    reset_sink_items(state_);
    return true;
}

void UnitModel::factory_reset() {
    state_.task_mode = "analyser";
    reset_settings(state_);
    reset_edid_slots(state_.edid);
    state_.cable.abort(now_ms());
}

}  // namespace t27::sim
