#pragma once
// Command handlers as data: the unit looks the request's command word up in a
// table. Each group of commands lives in its own file and adds its entries.
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "sim/reply.h"
#include "sim/request.h"

namespace t27::sim {

class UnitModel;

struct Call {
    const Request& request;
    std::string_view word;  // command word, e.g. "$audio_mute?"
    std::string_view args;  // text after the first blank, may be empty
};

using Handler = std::function<Reply(UnitModel&, const Call&)>;
using HandlerTable = std::map<std::string, Handler, std::less<>>;

void add_identity_handlers(HandlerTable& table);
void add_settings_handlers(HandlerTable& table);
void add_edid_handlers(HandlerTable& table);
void add_status_handlers(HandlerTable& table);
// After the settings handlers: timing and pattern against the catalogue in
// `catalogue_dir` (empty: beside the executable), HDR presets, colour format
// rules and per-colour calibration levels.
void add_generator_handlers(HandlerTable& table, std::string catalogue_dir = {});
// After the settings handlers: wraps their cable level and time setters.
void add_cable_handlers(HandlerTable& table);

}  // namespace t27::sim
