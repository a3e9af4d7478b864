#pragma once
// What the unit sends back for one request: the reply line (with its CR LF)
// and, for block reads, the data block that follows it.
#include <string>
#include <string_view>

namespace t27::sim {

struct Reply {
    std::string line;     // every byte up to and including the line end ("$?" lists end with EOT)
    std::string block;    // the 386 characters after an EDID block read line, else empty
    bool silent = false;  // the unit sends nothing for this request

    std::string bytes() const { return line + block; }
};

// word + CR LF, or word + " " + params + CR LF when there are parameters.
Reply make_reply(std::string_view word, std::string_view params = {});

// The unit's error form: the request's word with a first parameter that
// starts with "err", e.g. "$foo err_cmd".
Reply make_error(std::string_view word, std::string_view what);

}  // namespace t27::sim
