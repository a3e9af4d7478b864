#include "sim/edid_store.h"

#include <charconv>
#include <iterator>

#include "sim/edid_facts.h"

namespace t27::sim {

namespace {

using NT = NativeTiming;

struct DefaultSlot {
    const char* name;
    EdidRecipe recipe;
};

// clang-format off
const DefaultSlot default_slots[EdidStore::slot_count] = {
    {"1080P_2CH",      {"ZQT", 0x1001, "SIM 1080P",   NT::p1080_60, true,  true, true,  165, 2, false, false, 2}},
    {"1080P_8CH",      {"ZQT", 0x1002, "SIM 1080P 8C", NT::p1080_60, true,  true, true,  225, 8, false, false, 2}},
    {"720P_2CH",       {"ZQT", 0x1003, "SIM 720P",    NT::p720_60,  true,  true, true,  165, 2, false, false, 2}},
    {"4K30_3G",        {"ZQT", 0x1004, "SIM 4K30",    NT::p2160_30, true,  true, true,  300, 2, false, false, 2}},
    {"4K60_420",       {"ZQT", 0x1005, "SIM 4K60 420", NT::p1080_60, true,  true, true,  300, 2, false, true,  2}},
    {"4K60_6G",        {"ZQT", 0x1006, "SIM 4K60",    NT::p2160_60, true,  true, true,  600, 2, false, false, 2}},
    {"4K60_HDR_8CH",   {"ZQT", 0x1007, "SIM 4K HDR",  NT::p2160_60, true,  true, true,  600, 8, true,  false, 2}},
    {"1080P_NO_AUDIO", {"ZQT", 0x1008, "SIM NOAUDIO", NT::p1080_60, true,  true, true,  165, 0, false, false, 2}},
    {"DVI_1080P",      {"ZQT", 0x1009, "SIM DVI",     NT::p1080_60, true,  true, false, 165, 0, false, false, 2}},
    {"VGA_XGA",        {"ZQT", 0x100A, "SIM VGA",     NT::xga_60,   false, false, false, 100, 0, false, false, 1}},
};

const EdidRecipe sink_recipe =
    {"ZQT", 0x2001, "SIM SINK 4K", NT::p2160_60, true, true, true, 600, 8, true, false, 2};
// clang-format on

bool parse_index(std::string_view digits, int& out) {
    if (digits.empty() || digits.size() > 2 || digits.front() == '0') return false;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), out);
    return ec == std::errc() && end == digits.data() + digits.size() && out >= 1 &&
           out <= EdidStore::slot_count;
}

}  // namespace

std::optional<SlotRef> parse_slot(std::string_view name) {
    if (name == "sink_h") return SlotRef{SlotRef::Kind::SinkH, 0};
    if (name == "sink_v") return SlotRef{SlotRef::Kind::SinkV, 0};
    int n = 0;
    if (name.size() >= 2 && (name[0] == 'd' || name[0] == 'c') && parse_index(name.substr(1), n))
        return SlotRef{name[0] == 'd' ? SlotRef::Kind::Default : SlotRef::Kind::User, n - 1};
    return std::nullopt;
}

std::string slot_text(const SlotRef& ref) {
    switch (ref.kind) {
        case SlotRef::Kind::SinkH:
            return "sink_h";
        case SlotRef::Kind::SinkV:
            return "sink_v";
        case SlotRef::Kind::Default:
            return "d" + std::to_string(ref.index + 1);
        case SlotRef::Kind::User:
            return "c" + std::to_string(ref.index + 1);
    }
    return {};
}

const EdidBytes* EdidStore::image(const SlotRef& ref) const {
    switch (ref.kind) {
        case SlotRef::Kind::SinkH:
            return sink_present ? &sink : nullptr;
        case SlotRef::Kind::SinkV:
            return nullptr;  // no analog sink is ever attached
        case SlotRef::Kind::Default:
            return &defaults[static_cast<std::size_t>(ref.index)].image;
        case SlotRef::Kind::User:
            return &users[static_cast<std::size_t>(ref.index)].image;
    }
    return nullptr;
}

const EdidBytes* EdidStore::rx_image() const {
    if (rx_source == "sink") return sink_present ? &sink : nullptr;
    std::optional<SlotRef> ref = parse_slot(rx_source);
    return ref ? image(*ref) : nullptr;
}

void reset_edid_slots(EdidStore& store) {
    for (int i = 0; i < EdidStore::slot_count; ++i) {
        const DefaultSlot& d = default_slots[i];
        store.defaults[static_cast<std::size_t>(i)] = EdidSlot{d.name, build_edid(d.recipe)};
        EdidBytes copy = build_edid(d.recipe);
        store.users[static_cast<std::size_t>(i)] = EdidSlot{edid_slot_name(copy), copy};
    }
    store.rx_source = "sink";
}

bool choose_sink(EdidStore& store, std::string_view which) {
    if (which == "none") {
        store.sink_present = false;
        return true;
    }
    EdidRecipe r = sink_recipe;
    if (which == "3block" || which == "4block") {
        r.blocks = which == "3block" ? 3 : 4;
    } else if (which != "default") {
        std::optional<SlotRef> ref = parse_slot(which);
        if (!ref || ref->kind != SlotRef::Kind::Default) return false;
        r = default_slots[ref->index].recipe;
    }
    store.sink = build_edid(r);
    // A one-block sink EEPROM holds 128 bytes; the padding is for slots only.
    if (r.blocks == 1) store.sink.resize(128);
    store.sink_present = true;
    return true;
}

}  // namespace t27::sim
