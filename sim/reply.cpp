#include "sim/reply.h"

namespace t27::sim {

Reply make_reply(std::string_view word, std::string_view params) {
    Reply r;
    r.line.reserve(word.size() + params.size() + 3);
    r.line.append(word);
    if (!params.empty()) {
        r.line.push_back(' ');
        r.line.append(params);
    }
    r.line.append("\r\n");
    return r;
}

Reply make_error(std::string_view word, std::string_view what) {
    std::string p = "err";
    if (!what.empty()) {
        p.push_back('_');
        p.append(what);
    }
    return make_reply(word.empty() ? std::string_view("$err") : word, p);
}

}  // namespace t27::sim
