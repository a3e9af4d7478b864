#include "generator/output_requests.h"

#include "generator/downscale.h"
#include "generator/output_select.h"
#include "protocol/command_table.h"
#include "protocol/engine.h"
#include "protocol/pump.h"
#include "protocol/request_text.h"

namespace t27 {

namespace {

constexpr int cmd_downscale_query = 1;
constexpr int cmd_motion_text_set = 68;
constexpr int cmd_motion_text_query = 69;
constexpr int cmd_pattern_query = 70;
constexpr int cmd_pattern_set = 71;
constexpr int cmd_timing_set = 164;
constexpr int cmd_timing_query = 165;

constexpr double motion_text_pause_s = 0.5;

bool accepted(Engine& engine) { return engine.link().cmdrx_status == ReplyStatus::Accepted; }

std::optional<int> entry_read(Engine& engine, int query, int count) {
    engine.cmdtx_str(command_text(query) + "\r");
    if (!accepted(engine)) return std::nullopt;
    return readback_entry(reply_param1(engine), count);
}

}  // namespace

void timing_request(Engine& engine, int n) {
    engine.cmdtx_str(command_text(cmd_timing_set) + std::to_string(n) + "\r");
}

void pattern_request(Engine& engine, int n) {
    engine.cmdtx_str(command_text(cmd_pattern_set) + std::to_string(n) + "\r");
}

std::string motion_text_problem(std::string_view utf8, std::string& bytes) {
    std::string why;
    if (!unit_text_from_utf8(trim_blanks(utf8), bytes, why, "The motion text")) return why;
    if (bytes.size() > static_cast<std::size_t>(motion_text_max))
        return "The motion text takes at most " + std::to_string(motion_text_max) +
               " characters.";
    return {};
}

void motion_text_request(Engine& engine, std::string_view text) {
    engine.cmdtx_str(command_text(cmd_motion_text_set) + trim_blanks(text) + "\r");
    wait_seconds(engine.pump(), motion_text_pause_s);
}

std::optional<int> timing_read(Engine& engine, int timing_count) {
    return entry_read(engine, cmd_timing_query, timing_count);
}

std::optional<int> pattern_read(Engine& engine, int pattern_count) {
    return entry_read(engine, cmd_pattern_query, pattern_count);
}

std::optional<std::string> motion_text_read(Engine& engine) {
    engine.cmdtx_str(command_text(cmd_motion_text_query) + "\r");
    if (!accepted(engine)) return std::nullopt;
    return reply_param1(engine);
}

std::optional<int> downscale_read_option(Engine& engine) {
    engine.cmdtx_str(command_text(cmd_downscale_query) + "\r");
    if (!accepted(engine)) return std::nullopt;
    return downscale_option_for(reply_param1(engine));
}

}  // namespace t27
