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

std::optional<int> GenSession::start(bool json) {
    const auto failed = [&](const std::string& why, int code) {
        std::cerr << "t27ctl: " << why << "\n";
        if (json) std::cout << cli_.failure_json(why) << "\n" << std::flush;
        return code;
    };
    if (!cli_.open()) {
        if (json) std::cout << cli_.failure_json(cli_.open_failure()) << "\n" << std::flush;
        return gen_exit_link;
    }
    cli_.identify(!json);
    if (unit().model_family == not_known)
        return failed(std::string("the unit could not be identified (") +
                          std::string(reply_status_name(cli_.link().cmdrx_status)) + ")",
                      gen_exit_lost);
    catalogue_file_ = cli_.view().catalogue;
    LoadedCatalogue loaded = cli_.load_catalogue();
    // The lists hold what could be read; a name past a fault is unknown and
    // is reported as such when asked for.
    if (!loaded.catalogue_ok) std::cerr << "t27ctl: " << loaded.error << "\n";
    catalogue_ = std::move(loaded.catalogue);
    return std::nullopt;
}

std::optional<int> GenSession::start_generator(bool json) {
    if (auto e = start(json)) return e;
    if (!cable_task_only(unit().model_family, unit().task_mode)) return std::nullopt;
    const std::string why =
        "the unit is in the cable task; switch it first (t27ctl ... task pattern)";
    std::cerr << "t27ctl: " << why << "\n";
    if (json) std::cout << cli_.failure_json(why) << "\n" << std::flush;
    return gen_exit_refused;
}

std::string GenSession::failure(std::string_view what) {
    const LinkState& link = cli_.link();
    const ReplyStatus st = link.cmdrx_status;
    if (st == ReplyStatus::Accepted) return {};
    if (st == ReplyStatus::ErrorReply)
        return "the unit refused " + std::string(what) + ": " + terminal_text(reply_line(link));
    if (!cli_.open_now()) return "lost the link to the unit (" + std::string(what) + ")";
    return "no response to " + std::string(what);
}

int GenSession::outcome(std::string_view what) {
    if (const std::string why = failure(what); !why.empty()) std::cerr << "t27ctl: " << why << "\n";
    return exit_for(cli_.link().cmdrx_status);
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
