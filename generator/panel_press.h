#pragma once
// What the Control Panel tab sends for a button and for its read-back, and
// the panel's state kept without widgets. The tab and t27ctl both go
// through these, so a script reaches the unit with exactly the requests a
// click would send and reads the reply by the same rules.
#include <array>
#include <cstddef>
#include <functional>
#include <span>

#include "generator/panel_buttons.h"
#include "generator/panel_groups.h"
#include "protocol/engine.h"

namespace t27 {

// Paints and enables, in the order they are to be shown.
using PanelApply = std::function<void(const PanelUpdate&)>;

// One button: its pre-step, its request, the group that reads the reply and
// the groups read again after it. Returns the status of the button's own
// request. A button without a request sends nothing and returns NotSent.
ReplyStatus panel_press(Engine& engine, int index, PanelFlags& flags, const PanelApply& apply);

// Sends each group's query in turn and shows it, up to the first query that
// gets no reply; returns how many groups were shown.
std::size_t panel_read_groups(Engine& engine, std::span<const int> groups, PanelFlags& flags,
                              const PanelApply& apply);

// Every group, switches before versions, as a refresh of the tab reads them.
std::size_t panel_read_all(Engine& engine, PanelFlags& flags, const PanelApply& apply);

// The panel as the tab would show it.
struct PanelView {
    std::array<Colour, panel_button_count> colour{};
    std::array<bool, panel_button_count> enabled{};
    std::array<bool, panel_button_count> visible{};

    PanelView();
    void apply(const PanelUpdate& update);
    void apply_visibility(int task_mode, int model_family);
    // The button of a row that the unit's value lights, or -1.
    int lit_in(std::span<const int> buttons) const;
};

}  // namespace t27
