#pragma once
// The unit's EDID memory: the attached sink's EEPROM, ten read-only default
// images, ten user slots, their names, and which one the HDMI input offers.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "sim/edid_image.h"

namespace t27::sim {

struct EdidSlot {
    std::string name;
    EdidBytes image;  // 256 bytes
};

// Where an EDID lives, as the protocol names it: "sink_h", "sink_v", "d1" …
// "d10", "c1" … "c10".
struct SlotRef {
    enum class Kind { SinkH, SinkV, Default, User } kind;
    int index = 0;  // 0-based for Default and User
};

std::optional<SlotRef> parse_slot(std::string_view name);
std::string slot_text(const SlotRef& ref);

struct EdidStore {
    static constexpr int slot_count = 10;
    static constexpr std::size_t slot_bytes = 256;

    bool sink_present = true;
    EdidBytes sink;  // 128 × blocks of the attached HDMI sink
    std::array<EdidSlot, slot_count> defaults;
    std::array<EdidSlot, slot_count> users;
    std::string rx_source = "sink";  // "sink", "d3", "c7", …

    // The image behind a slot, or nullptr (absent sink, analog sink).
    const EdidBytes* image(const SlotRef& ref) const;
    // The image the HDMI input currently offers.
    const EdidBytes* rx_image() const;
};

// Factory contents of the unit's own memory: the default images, user slots
// holding copies of them, the sink offered on the input. The attached sink is
// another device and keeps its EEPROM.
void reset_edid_slots(EdidStore& store);

// Sink images by name (a fresh model has "default" attached) for the command line and the control
// channel: "none", "default", "d1" … "d10", "3block", "4block". False for an unknown name.
bool choose_sink(EdidStore& store, std::string_view which);

}  // namespace t27::sim
