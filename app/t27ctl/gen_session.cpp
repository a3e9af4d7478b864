#include "app/t27ctl/gen_session.h"

#include <iostream>

#include "protocol/request_text.h"

namespace t27 {

namespace {

// The exit code a status stands for.
int exit_for(ReplyStatus status) {
    switch (status) {
        case ReplyStatus::Accepted:
            return gen_exit_ok;
        case ReplyStatus::ErrorReply:
            return gen_exit_refused;
        case ReplyStatus::NoResponse:
        case ReplyStatus::NotSent:
            break;
    }
    return gen_exit_lost;
}

}  // namespace

int gen_usage(std::string_view why) {
    if (!why.empty()) std::cerr << "t27ctl: " << why << "\n";
    std::cerr << "see t27ctl --help\n";
    return gen_exit_usage;
}

std::optional<int> GenSession::start(bool quiet) {
    if (!cli_.open()) return gen_exit_link;
    cli_.identify(!quiet);
    if (unit().model_family == not_known) {
        std::cerr << "t27ctl: the unit could not be identified\n";
        return gen_exit_lost;
    }
    catalogue_file_ = cli_.view().catalogue;
    LoadedCatalogue loaded = cli_.load_catalogue();
    // The lists hold what could be read; a name past a fault is unknown and
    // is reported as such when asked for.
    if (!loaded.catalogue_ok) std::cerr << "t27ctl: " << loaded.error << "\n";
    catalogue_ = std::move(loaded.catalogue);
    return std::nullopt;
}

std::optional<int> GenSession::start_generator(bool quiet) {
    if (auto e = start(quiet)) return e;
    if (!cable_task_only(unit().model_family, unit().task_mode)) return std::nullopt;
    std::cerr << "t27ctl: the unit is in the cable task; switch it first (t27ctl ... task "
                 "pattern)\n";
    return gen_exit_refused;
}

int GenSession::outcome(std::string_view what) {
    const LinkState& link = cli_.link();
    const ReplyStatus st = link.cmdrx_status;
    if (st == ReplyStatus::ErrorReply)
        std::cerr << "t27ctl: the unit refused " << what << ": " << terminal_text(reply_line(link))
                  << "\n";
    else if (st != ReplyStatus::Accepted && !cli_.open_now())
        std::cerr << "t27ctl: lost the link to the unit (" << what << ")\n";
    else if (st != ReplyStatus::Accepted)
        std::cerr << "t27ctl: no response to " << what << "\n";
    return exit_for(st);
}

std::string reply_line(const LinkState& link) {
    std::string line = link.cmdrx_str;
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    return line;
}

std::optional<int> whole_number(std::string_view text) {
    if (text.empty() || text.size() > 6) return std::nullopt;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

}  // namespace t27
