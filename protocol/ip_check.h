#pragma once
// The check the unit's IP address entry goes through before a connection:
// four dot-separated parts, each reduced to the decimal text of its leading
// number. The parts are not range-checked (the entry is what the user typed,
// tidied, not validated).
#include <string>
#include <string_view>

namespace t27 {

struct IpCheckResult {
    bool ok = false;
    std::string text;  // the normalised address when ok, else empty
};

// "192.168.001.010" -> "192.168.1.10"; "10.0.0.300" stays; "a.b.1.2" ->
// "0.0.1.2"; three or five parts are rejected.
IpCheckResult ip_check(std::string_view entry);

// What the entry box and the last accepted address hold after the check: an
// accepted entry becomes the saved address; a rejected one while connected is
// replaced by the saved address, otherwise left for the user to correct.
struct IpEntryUpdate {
    bool ok = false;
    std::string entry_text;
    std::string saved_ip;
};

IpEntryUpdate ip_entry_check(std::string_view entry, const std::string& saved_ip,
                             bool ethernet_connected);

}  // namespace t27
