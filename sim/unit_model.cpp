#include "sim/unit_model.h"

#include <algorithm>
#include <chrono>

#include "protocol/command_table.h"
#include "sim/scenarios.h"
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
    settle_glitch();
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

void UnitModel::glitch(std::string_view scenario, std::int64_t ms) {
    settle_glitch(true);
    const Scenario* sc = find_scenario(scenario);
    if (sc == nullptr || ms <= 0) return;
    const std::int64_t now = now_ms();
    glitch_ = Glitch{now + ms, std::string(sc->name), state_.source_items, state_.scenario};
    apply_scenario(state_, *sc);
    if (glitch_log_)
        glitch_log_(now, "glitch " + glitch_->scenario + " " + std::to_string(ms) +
                             " ms: start (back to " + glitch_->restored + ")");
}

void UnitModel::settle_glitch(bool cancel) {
    if (!glitch_) return;
    if (!cancel && now_ms() < glitch_->end_ms) return;
    Glitch g = std::move(*glitch_);
    glitch_.reset();
    state_.source_items = std::move(g.items);
    state_.scenario = g.restored;
    // The end is the planned one: replies after it already saw the old
    // signal, however late this runs.
    const std::int64_t at = cancel ? std::min(now_ms(), g.end_ms) : g.end_ms;
    if (glitch_log_) glitch_log_(at, "glitch " + g.scenario + ": end" + (cancel ? " (cut short)" : ""));
}

std::optional<std::int64_t> UnitModel::glitch_left_ms() const {
    if (!glitch_) return std::nullopt;
    return std::max<std::int64_t>(0, glitch_->end_ms - now_ms());
}

void UnitModel::factory_reset() {
    state_.task_mode = "analyser";
    reset_settings(state_);
    reset_edid_slots(state_.edid);
    state_.cable.abort(now_ms());
}

}  // namespace t27::sim
