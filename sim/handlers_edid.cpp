// EDID on the wire: block reads and writes, slot names, the input's EDID
// source, copying the sink, and the short facts the analyser polls.
#include <optional>
#include <string>

#include "sim/edid_facts.h"
#include "sim/handler_table.h"
#include "sim/hex_triplets.h"
#include "sim/unit_model.h"

namespace t27::sim {

namespace {

using Kind = SlotRef::Kind;

// Slot names are reported as the second parameter, so no comma; the length
// fits a manufacturer, a dot and a full monitor name with room to spare.
constexpr std::size_t max_name = 24;

// Printable ASCII only: the name is shown in the program's lists and comes
// back inside reply lines.
bool valid_name(std::string_view name) {
    if (name.empty() || name.size() > max_name) return false;
    for (char c : name)
        if (c < 0x20 || c > 0x7E || c == ',') return false;
    return true;
}

struct TwoArgs {
    std::string_view first, second;
    bool has_second = false;
};

TwoArgs split(std::string_view args) {
    std::size_t comma = args.find(',');
    if (comma == std::string_view::npos) return {args, {}, false};
    return {args.substr(0, comma), args.substr(comma + 1), true};
}

std::optional<int> parse_block(std::string_view s) {
    if (s.size() != 6 || s.substr(0, 5) != "block" || s[5] < '0' || s[5] > '3') return std::nullopt;
    return s[5] - '0';
}

// Replies to a block read must either carry the block or be one of the two
// forms the program recognises as "no block follows": a first parameter
// "err_ddc" right after "$edid_read ", or a line starting "$err".
Reply read_refused(std::string_view what) { return make_error("$err", what); }

Reply edid_read(UnitModel& unit, const Call& call) {
    TwoArgs a = split(call.args);
    std::optional<SlotRef> ref = parse_slot(a.first);
    std::optional<int> block = parse_block(a.second);
    if (!ref || !block || !a.has_second) return read_refused("param");
    const EdidBytes* img = unit.state().edid.image(*ref);
    std::size_t offset = static_cast<std::size_t>(*block) * 128;
    bool from_sink = ref->kind == Kind::SinkH || ref->kind == Kind::SinkV;
    // The sink is read over DDC: a missing sink or a segment it does not
    // have fails there. The unit's own slots hold two blocks.
    if (from_sink && (!img || offset + 128 > img->size())) return make_error(call.word, "ddc");
    if (!img || offset + 128 > img->size()) return read_refused("block");
    Reply r = make_reply(call.word, call.args);
    r.block = to_triplets(img->data() + offset) + "\r\n";
    return r;
}

Reply edid_write(UnitModel& unit, const Call& call) {
    TwoArgs a = split(call.args);
    std::optional<SlotRef> ref = parse_slot(a.first);
    std::optional<int> block = parse_block(a.second);
    if (!ref || !block || !a.has_second) return make_error(call.word, "param");
    std::optional<std::vector<std::uint8_t>> bytes;
    if (call.request.has_data) bytes = from_triplets(call.request.data);
    if (!bytes) return make_error(call.word, "data");
    EdidStore& store = unit.state().edid;
    std::size_t offset = static_cast<std::size_t>(*block) * 128;
    EdidBytes* target = nullptr;
    switch (ref->kind) {
        case Kind::SinkV:
            return make_error(call.word, "ddc");
        case Kind::Default:
            return make_error(call.word, "ro");
        case Kind::SinkH:
            if (!store.sink_present) return make_error(call.word, "ddc");
            target = &store.sink;
            if (store.sink.size() < offset + 128) store.sink.resize(offset + 128, 0xFF);
            break;
        case Kind::User:
            if (offset + 128 > EdidStore::slot_bytes) return make_error(call.word, "block");
            target = &store.users[static_cast<std::size_t>(ref->index)].image;
            break;
    }
    std::copy(bytes->begin(), bytes->end(), target->begin() + static_cast<std::ptrdiff_t>(offset));
    if (ref->kind == Kind::User)
        store.users[static_cast<std::size_t>(ref->index)].name = edid_slot_name(*target);
    return make_reply(call.word, call.args);
}

EdidSlot* named_slot(EdidStore& store, const std::optional<SlotRef>& ref) {
    if (!ref) return nullptr;
    if (ref->kind == Kind::Default) return &store.defaults[static_cast<std::size_t>(ref->index)];
    if (ref->kind == Kind::User) return &store.users[static_cast<std::size_t>(ref->index)];
    return nullptr;
}

Reply edid_name_query(UnitModel& unit, const Call& call) {
    EdidSlot* slot = named_slot(unit.state().edid, parse_slot(call.args));
    if (!slot) return make_error(call.word, "param");
    return make_reply(call.word, std::string(call.args) + "," + slot->name);
}

Reply edid_name_set(UnitModel& unit, const Call& call) {
    TwoArgs a = split(call.args);
    std::optional<SlotRef> ref = parse_slot(a.first);
    if (!ref || !a.has_second || !named_slot(unit.state().edid, ref))
        return make_error(call.word, "param");
    if (ref->kind != Kind::User) return make_error(call.word, "ro");
    if (!valid_name(a.second)) return make_error(call.word, "name");
    named_slot(unit.state().edid, ref)->name = std::string(a.second);
    return make_reply(call.word, call.args);
}

Reply edid_rx_query(UnitModel& unit, const Call& call) {
    return make_reply(call.word, unit.state().edid.rx_source);
}

Reply edid_rx_set(UnitModel& unit, const Call& call) {
    std::optional<SlotRef> ref = parse_slot(call.args);
    bool ok =
        call.args == "sink" || (ref && (ref->kind == Kind::Default || ref->kind == Kind::User));
    if (!ok) return make_error(call.word, "param");
    unit.state().edid.rx_source = std::string(call.args);
    return make_reply(call.word, call.args);
}

Reply edid_copy_sink(UnitModel& unit, const Call& call) {
    std::optional<SlotRef> ref = parse_slot(call.args);
    if (!ref || ref->kind != Kind::User) return make_error(call.word, "");
    EdidStore& store = unit.state().edid;
    if (!store.sink_present) return make_error(call.word, "");
    EdidSlot& slot = store.users[static_cast<std::size_t>(ref->index)];
    // The slot holds two blocks; a one-block sink leaves the second erased.
    EdidBytes copy(EdidStore::slot_bytes, 0xFF);
    std::copy_n(store.sink.begin(), std::min(store.sink.size(), copy.size()), copy.begin());
    slot.image = copy;
    slot.name = edid_slot_name(copy);
    return make_reply(call.word, call.args);
}

using Fact = std::string (*)(const EdidBytes&);

// "$edid_manuf? rx" and its three siblings: item name, then the value; an
// absent sink gives the item name alone, which the program reads as "None".
Reply edid_fact(UnitModel& unit, const Call& call, Fact fact) {
    const EdidStore& store = unit.state().edid;
    const EdidBytes* img = nullptr;
    if (call.args == "rx") {
        img = store.rx_image();
    } else if (std::optional<SlotRef> ref = parse_slot(call.args)) {
        img = store.image(*ref);
    } else {
        return make_error(call.word, "param");
    }
    if (!img) return make_reply(call.word, call.args);
    return make_reply(call.word, std::string(call.args) + "," + fact(*img));
}

}  // namespace

void add_edid_handlers(HandlerTable& table) {
    table["$edid_read"] = edid_read;
    table["$edid_write"] = edid_write;
    table["$edid_name?"] = edid_name_query;
    table["$edid_name"] = edid_name_set;
    table["$edid_rx?"] = edid_rx_query;
    table["$edid_rx"] = edid_rx_set;
    table["$edid_copy_sink"] = edid_copy_sink;
    struct FactWord {
        const char* word;
        Fact fact;
    };
    static const FactWord facts[] = {
        {"$edid_manuf?", edid_manufacturer},
        {"$edid_model?", edid_monitor_name},
        {"$edid_native?", edid_native_text},
        {"$edid_type?", edid_type_text},
    };
    for (const FactWord& f : facts) {
        Fact fn = f.fact;
        table[f.word] = [fn](UnitModel& u, const Call& c) { return edid_fact(u, c, fn); };
    }
}

}  // namespace t27::sim
