#pragma once
// Text on its way to the unit and back. The wire carries one byte per
// character and a request ends at its first CR, so a control character inside
// a request would end it early or start a second command the user never saw.
// Every requester, the window's and t27ctl's alike, goes through these.
#include <string>
#include <string_view>

namespace t27 {

// Why `request` may not leave as it stands, or the empty text when it may.
// A request is its text followed by one CR ("$edid_write" lines may end CR LF);
// the text holds no byte below 0x20 and no DEL.
std::string request_fault(std::string_view request);

// Text a person typed (UTF-8) as the unit's one-byte characters (Latin-1).
// False, with `why` set, when a character is a control character or one the
// unit cannot take; `bytes` is then left empty. `what` names the text in the
// message ("The motion text").
bool unit_text_from_utf8(std::string_view utf8, std::string& bytes, std::string& why,
                         std::string_view what);

// The number of characters of `utf8` as a text field counts them (code
// points; a stray byte counts as one).
std::size_t utf8_length(std::string_view utf8);

// Text that came from the unit, made safe for a terminal: control characters
// (C0, DEL, C1) are shown as "\xHH", the other characters as UTF-8. With
// `keep_lf`, LF stays a line break (for a report whose own lines end LF).
std::string terminal_text(std::string_view unit_bytes, bool keep_lf = false);

}  // namespace t27
