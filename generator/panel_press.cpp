#include "generator/panel_press.h"

#include "generator/generator_colours.h"
#include "protocol/engine.h"

namespace t27 {

namespace {

bool valid_index(int index) { return index >= 0 && index < panel_button_count; }

}  // namespace

ReplyStatus panel_press(Engine& engine, int index, PanelFlags& flags, const PanelApply& apply) {
    const PanelButton& pb = panel_button(index);
    if (pb.command < 0) return ReplyStatus::NotSent;
    const std::string pre = panel_pre_request(index);
    if (!pre.empty()) {
        engine.cmdtx_str(pre + "\r");
        // The version request that follows needs the switch on, whatever
        // the switch's own reply said.
        panel_pre_step_flags(index, flags);
    }
    if (index == panel_hotplug_toggle) {
        // The line goes low for the pulse and is read back high afterwards.
        apply({{{panel_hotplug_low, gen_colour::lit}, {panel_hotplug_high, gen_colour::panel_idle}},
               {}});
    }
    engine.cmdtx_str(panel_commands()[static_cast<std::size_t>(index)] + "\r");
    const ReplyStatus status = engine.link().cmdrx_status;
    if (index == panel_hotplug_toggle) apply({{{panel_hotplug_low, gen_colour::panel_idle}}, {}});
    if (status == ReplyStatus::Accepted && pb.group != panel_no_group) {
        apply(panel_show_group(pb.group, reply_param1(engine), flags));
        panel_read_groups(engine, panel_reread_groups(index), flags, apply);
    }
    return status;
}

std::size_t panel_read_groups(Engine& engine, std::span<const int> groups, PanelFlags& flags,
                              const PanelApply& apply) {
    std::size_t shown = 0;
    for (int g : groups) {
        engine.cmdtx_str(panel_group_query(g) + "\r");
        if (!panel_read_continues(engine.link().cmdrx_status)) break;
        apply(panel_show_group(g, reply_param1(engine), flags));
        ++shown;
    }
    return shown;
}

std::size_t panel_read_all(Engine& engine, PanelFlags& flags, const PanelApply& apply) {
    std::array<int, panel_group_count> all{};
    for (int g = 0; g < panel_group_count; ++g) all[static_cast<std::size_t>(g)] = g;
    return panel_read_groups(engine, all, flags, apply);
}

PanelView::PanelView() {
    colour.fill(gen_colour::panel_idle);
    enabled.fill(true);
    for (const PanelRow& row : panel_rows())
        for (int b : row.buttons) visible[static_cast<std::size_t>(b)] = row.shown;
}

void PanelView::apply(const PanelUpdate& update) {
    for (const ButtonPaint& p : update.paints)
        if (valid_index(p.index)) colour[static_cast<std::size_t>(p.index)] = p.colour;
    for (const ButtonEnable& e : update.enables)
        if (valid_index(e.index)) enabled[static_cast<std::size_t>(e.index)] = e.enabled;
}

void PanelView::apply_visibility(int task_mode, int model_family) {
    for (const ButtonVisible& v : panel_visibility(task_mode, model_family))
        if (valid_index(v.index)) visible[static_cast<std::size_t>(v.index)] = v.visible;
}

int PanelView::lit_in(std::span<const int> buttons) const {
    for (int b : buttons)
        if (valid_index(b) && colour[static_cast<std::size_t>(b)] != gen_colour::panel_idle)
            return b;
    return -1;
}

}  // namespace t27
