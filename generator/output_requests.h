#pragma once
// What the Output Resolution and Pattern tabs send to the unit and how they
// take its replies. The tabs and t27ctl both go through these, so a script
// reaches the unit with exactly the requests a click would send.
#include <optional>
#include <string>
#include <string_view>

#include "protocol/engine.h"

namespace t27 {

// The field takes at most this many characters.
inline constexpr int motion_text_max = 20;

// "$timing n" / "$pattern n"; the outcome is the link state's status. The
// caller checks `timing_output_allowed` first.
void timing_request(Engine& engine, int n);
void pattern_request(Engine& engine, int n);

// Why the typed motion text (UTF-8) cannot be sent, or the empty text when it
// can; `bytes` then holds it as the unit takes it, outer blanks trimmed. The
// window's field and t27ctl both ask here, so they count and refuse alike.
std::string motion_text_problem(std::string_view utf8, std::string& bytes);

// "$motion_text" + the text without its outer blanks, then the half-second
// the unit needs before it takes the next request.
void motion_text_request(Engine& engine, std::string_view text);

// The entry the unit outputs now ("$timing? " / "$pattern? ", taken as
// `readback_entry` takes it), or nothing when the reply was not accepted.
std::optional<int> timing_read(Engine& engine, int timing_count);
std::optional<int> pattern_read(Engine& engine, int pattern_count);
std::optional<std::string> motion_text_read(Engine& engine);

// The down-scaling option the unit reports (-1 for a value not listed), or
// nothing when the reply was not accepted.
std::optional<int> downscale_read_option(Engine& engine);

}  // namespace t27
