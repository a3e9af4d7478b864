// `t27ctl panel list|set`: the Control Panel tab from a script.
#include <iostream>
#include <optional>

#include "app/t27ctl/generator.h"
#include "app/t27ctl/gen_session.h"
#include "common/json_out.h"
#include "generator/generator_colours.h"
#include "generator/name_match.h"
#include "generator/panel_press.h"
#include "protocol/request_text.h"

namespace t27 {

namespace {

// The system buttons have no row caption on the tab; scripts call them this.
constexpr const char* system_row_name = "System";

struct CliRow {
    std::string name;
    std::vector<int> buttons;  // the ones the tab shows, left to right
};

// The rows the tab shows for the unit's task mode and family.
std::vector<CliRow> shown_rows(const PanelView& view) {
    std::vector<CliRow> out;
    for (const PanelRow& row : panel_rows()) {
        CliRow r{*row.caption ? row.caption : system_row_name, {}};
        for (int b : row.buttons)
            if (view.visible[static_cast<std::size_t>(b)]) r.buttons.push_back(b);
        if (!r.buttons.empty()) out.push_back(std::move(r));
    }
    return out;
}

std::vector<std::string> captions(const std::vector<int>& buttons) {
    std::vector<std::string> out;
    for (int b : buttons) out.emplace_back(panel_button(b).caption);
    return out;
}

// The index `wanted` picks among `names`, or -1 with the candidates told.
int pick(const std::vector<std::string>& names, const std::string& wanted, const char* what) {
    NameMatch m = match_name(names, wanted);
    if (m.index >= 0) return m.index;
    std::cerr << "t27ctl: " << (m.matches.empty() ? "no " : "more than one ") << what << " fits \""
              << wanted << "\"; " << (m.matches.empty() ? "there are" : "it fits") << ":\n";
    if (m.matches.empty())
        for (std::size_t i = 0; i < names.size(); ++i) m.matches.push_back(static_cast<int>(i));
    for (int i : m.matches) std::cerr << "  " << names[static_cast<std::size_t>(i)] << "\n";
    return -1;
}

std::string current_text(const PanelView& view, const CliRow& row) {
    const int lit = view.lit_in(row.buttons);
    if (lit < 0) return {};
    std::string t = panel_button(lit).caption;
    if (view.colour[static_cast<std::size_t>(lit)] == gen_colour::panel_talk) t += " (negotiating)";
    return t;
}

PanelApply into(PanelView& view) {
    return [&view](const PanelUpdate& u) { view.apply(u); };
}

}  // namespace

int t27ctl_panel_list(const LinkOptions& o, bool json) {
    GenSession s(o);
    if (auto e = s.start_generator(json)) return *e;
    PanelView view;
    PanelFlags flags;
    const std::size_t read = panel_read_all(s.engine(), flags, into(view));
    view.apply_visibility(s.unit().task_mode, s.unit().model_family);

    std::vector<std::string> rows_json;
    for (const CliRow& row : shown_rows(view)) {
        const std::string now = current_text(view, row);
        if (json) {
            std::vector<std::string> choices;
            for (int b : row.buttons)
                choices.push_back(json::Object()
                                      .add("caption", panel_button(b).caption)
                                      .add("enabled", view.enabled[static_cast<std::size_t>(b)])
                                      .str());
            json::Object r;
            r.add("row", row.name).add_raw("choices", json::array_of(choices));
            if (now.empty())
                r.add_null("current");
            else
                r.add("current", now);
            rows_json.push_back(r.str());
            continue;
        }
        std::cout << row.name << ": " << (now.empty() ? "-" : terminal_text(now)) << "  (";
        for (std::size_t k = 0; k < row.buttons.size(); ++k) {
            const int b = row.buttons[k];
            std::cout << (k ? " | " : "") << panel_button(b).caption
                      << (view.enabled[static_cast<std::size_t>(b)] ? "" : " [disabled]");
        }
        std::cout << ")\n";
    }
    if (json) {
        json::Object doc;
        doc.add_raw("link", s.cli().link_json())
            .add("task", task_mode_text(s.unit().task_mode))
            .add("complete", read == panel_group_count)
            .add_raw("rows", json::array_of(rows_json));
        if (read == panel_group_count)
            doc.add_null("error");
        else if (const std::string why = s.failure("the panel read-back"); !why.empty())
            doc.add("error", why);
        else
            doc.add("error", "the panel read-back stopped early");
        std::cout << doc.str() << "\n";
    }
    std::cout.flush();
    if (read == panel_group_count) return gen_exit_ok;
    return s.outcome("the panel read-back");
}

int t27ctl_panel_set(const LinkOptions& o, const CtlArgs& args) {
    // Both words, always: a lone word taken as a choice once found "Reboot
    // System" in "System".
    const std::vector<std::string>& words = args.words;
    const bool yes = args.yes;

    GenSession s(o);
    if (auto e = s.start_generator(false)) return *e;
    PanelView view;
    view.apply_visibility(s.unit().task_mode, s.unit().model_family);
    const std::vector<CliRow> rows = shown_rows(view);
    std::vector<std::string> row_names;
    for (const CliRow& r : rows) row_names.push_back(r.name);
    const std::string row_what =
        std::string("row of the panel in the ") + task_mode_text(s.unit().task_mode) + " task";
    const int r = pick(row_names, words[0], row_what.c_str());
    if (r < 0) return gen_exit_usage;
    const CliRow& row = rows[static_cast<std::size_t>(r)];
    const std::vector<std::string> choices = captions(row.buttons);
    // The row's own name is not a choice of it, even inside a caption.
    if (same_ignoring_case(words[1], row.name)) {
        std::cerr << "t27ctl: \"" << words[1] << "\" is the row; name one of its choices:\n";
        for (const std::string& c : choices) std::cerr << "  " << c << "\n";
        return gen_exit_usage;
    }
    const int c = pick(choices, words[1], ("choice of " + row.name).c_str());
    if (c < 0) return gen_exit_usage;
    const int index = row.buttons[static_cast<std::size_t>(c)];
    const std::string what = row.name + " " + panel_button(index).caption;
    if (index == panel_factory_reset && !yes) {
        std::cerr << "t27ctl: Factory Reset returns every setting of the unit to its first-start "
                     "value; add --yes to do it\n";
        return gen_exit_usage;
    }
    if (index == panel_reboot && !yes) {
        std::cerr << "t27ctl: Reboot System restarts the unit and drops its link; add --yes to "
                     "do it\n";
        return gen_exit_usage;
    }

    // The tab shows some buttons disabled by another row's value; read
    // that value first, as the tab had it when the button was clicked.
    PanelFlags flags;
    panel_read_groups(s.engine(), panel_enabling_groups(index), flags, into(view));
    if (!view.enabled[static_cast<std::size_t>(index)]) {
        std::cerr << "t27ctl: " << what << " cannot be chosen with the unit's present settings\n";
        return gen_exit_refused;
    }
    panel_press(s.engine(), index, flags, into(view));
    if (const int e = s.outcome(what)) return e;
    if (panel_button(index).group == panel_no_group) {
        std::cout << "panel: " << panel_button(index).caption << " sent\n";
    } else {
        const std::string now = current_text(view, row);
        std::cout << "panel: " << row.name << " = " << (now.empty() ? "-" : terminal_text(now))
                  << "\n";
    }
    return gen_exit_ok;
}

}  // namespace t27
