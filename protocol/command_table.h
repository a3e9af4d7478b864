#pragma once
// The numbered request texts of the unit's command protocol. Entries keep their
// trailing blanks: an entry ending in a blank takes its argument appended
// directly, one without is sent as it stands followed by the line end.
#include <array>
#include <string>
#include <string_view>

namespace t27 {

inline constexpr int command_table_size = 191;

using CommandTable = std::array<std::string, command_table_size>;

// The filled table; slots the protocol does not use hold an empty text.
const CommandTable& command_table();

// Entry `index` of the table, or the empty text for an index outside 0..190.
const std::string& command_text(int index);

// The command word of a request or reply: the text before the first blank (or,
// without one, before the first CR) when the text starts with "$"; otherwise
// empty. "$cable_run start\r" gives "$cable_run".
std::string cmdstr_cmd_get(std::string_view text);

}  // namespace t27
