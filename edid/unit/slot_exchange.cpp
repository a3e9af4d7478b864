#include "edid/unit/slot_exchange.h"

#include "protocol/command_table.h"
#include "protocol/request_text.h"

namespace t27 {

namespace {

std::string trim_blanks(const std::string& s) {
    const std::size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// "$edid_name? c3": the name when the reply is about that slot.
std::optional<std::string> ask_name(Engine& engine, char kind, int n, bool& refused) {
    const std::string slot = kind + std::to_string(n);
    engine.cmdtx_str("$edid_name? " + slot + "\r");
    const LinkState& link = engine.link();
    refused = link.cmdrx_status != ReplyStatus::Accepted;
    if (refused || link.cmdrx_param1 != slot) return std::nullopt;
    return link.cmdrx_param2;
}

}  // namespace

SlotNames slot_names_refresh(Engine& engine) {
    SlotNames names;
    bool refused = false;
    for (int n = 1; n <= edid_slot_count; ++n) {
        names.defaults[static_cast<std::size_t>(n - 1)] = ask_name(engine, 'd', n, refused);
        if (refused) return names;
    }
    for (int n = 1; n <= edid_slot_count; ++n) {
        names.users[static_cast<std::size_t>(n - 1)] = ask_name(engine, 'c', n, refused);
        if (refused) return names;
    }
    engine.cmdtx_str("$edid_rx?\r");
    if (engine.link().cmdrx_status == ReplyStatus::Accepted)
        names.rx_index = edid_rx_index_from_reply(engine.link().cmdrx_param1);
    return names;
}

std::string slot_rename_problem(const std::string& text, int write_item, std::string& name) {
    std::string why;
    if (!unit_text_from_utf8(trim_blanks(text), name, why, "The slot name")) return why;
    if (name.empty()) return "Wrong name";
    if (edid_write_item_user_slot(write_item) == 0) return "Sink can't be named.";
    return {};
}

bool slot_rename(Engine& engine, int n, const std::string& name) {
    engine.cmdtx_str("$edid_name c" + std::to_string(n) + "," + name + "\r");
    const LinkState& link = engine.link();
    return link.cmdrx_status == ReplyStatus::Accepted && trim_blanks(link.cmdrx_param2) == name;
}

void rx_source_set(Engine& engine, int index) {
    const std::string request = edid_rx_request(index);
    if (!request.empty()) engine.cmdtx_str(request + "\r");
}

CopySinkResult copy_sink(Engine& engine, int n) {
    CopySinkResult r;
    const std::string request = "$edid_copy_sink c" + std::to_string(n) + "\r";
    engine.cmdtx_str(request);
    const LinkState& link = engine.link();
    if (link.cmdrx_status == ReplyStatus::ErrorReply &&
        cmdstr_cmd_get(link.cmdrx_str) == cmdstr_cmd_get(request) &&
        link.cmdrx_param1.compare(0, 3, "err") == 0) {
        r.end = CopySinkEnd::failed;
        return r;
    }
    if (link.cmdrx_status != ReplyStatus::Accepted) return r;
    r.end = CopySinkEnd::copied;
    bool refused = false;
    r.name = ask_name(engine, 'c', n, refused);
    return r;
}

}  // namespace t27
