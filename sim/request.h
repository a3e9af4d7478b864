#pragma once
// One request as the unit sees it: the line without its CR and, for block
// writes, the hex triplets that followed the line.
#include <string>

namespace t27::sim {

struct Request {
    std::string line;        // request text without the ending CR
    std::string data;        // the data block of an "$edid_write" request, without its CR
    bool has_data = false;   // a data block was collected for this request
    bool truncated = false;  // the line (or block) ran past the parser's cap and was cut
};

}  // namespace t27::sim
