#include "generator/ui/panel_tab.h"

#include <QPointer>

#include "generator/ui/gen_widgets.h"
#include "generator/generator_colours.h"
#include "generator/ui/page_link.h"
#include "protocol/command_table.h"

namespace t27 {

namespace {

// Two columns of rows: the input port, audio and TMDS rows on the left, HDR,
// output HDCP and colour format on the right, the system buttons below them.
constexpr int row_column[] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 1, 1};
constexpr int column_left[] = {60, 4950};
constexpr int label_width[] = {1500, 1600};
constexpr int button_width[] = {1070, 1110};
constexpr int button_step[] = {1100, 1167};
constexpr int buttons_per_line[] = {3, 4};
constexpr int line_height = 500;
constexpr int button_height = 400;
constexpr int first_line = 150;
constexpr int system_left = 4950;
constexpr int system_top = 8400;
constexpr int system_width = 2000;

constexpr int factory_reset_index = panel_factory_reset;

const char* const factory_reset_question =
    "Factory Reset returns every setting of the unit to its first-start value. Continue?";

}  // namespace

PanelTab::PanelTab(MainWindow& window) : QWidget(window.tab_frame(tab_panel)), window_(window) {
    setObjectName("pag_panel");
    setGeometry(parentWidget()->rect());

    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    const std::span<const PanelRow> rows = panel_rows();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const PanelRow& row = rows[r];
        QLabel* label = nullptr;
        if (row.buttons.front() != panel_factory_reset) {
            label = make_label(this, ("lab_panel_row_" + std::to_string(r)).c_str(), row.caption,
                               QRect());
            label->setVisible(row.shown);
        }
        rows_.push_back({label, row.buttons, row_column[r]});
        for (int index : row.buttons) {
            auto* b = new QPushButton(QString::fromLatin1(panel_button(index).caption), this);
            b->setObjectName(QStringLiteral("cmd_panel_%1").arg(index));
            b->setFont(small);
            paint_button(b, gen_colour::panel_idle);
            b->setVisible(row.shown);
            connect(b, &QPushButton::clicked, this, [this, index] { cmd_panel_Click(index); });
            cmd_panel_[static_cast<std::size_t>(index)] = b;
        }
    }
    lay_out();

    new PageLink(window, tab_panel, this, this);
    window.set_pending_handler(pending_panel_button, [p = QPointer<PanelTab>(this)] {
        if (p) p->cmd_panel_Click(p->pending_panel_index());
    });
}

QPushButton* PanelTab::button(int index) const {
    if (index < 0 || index >= panel_button_count) return nullptr;
    return cmd_panel_[static_cast<std::size_t>(index)];
}

void PanelTab::read_back() { panel_read_all(); }

void PanelTab::apply(const PanelUpdate& update) {
    for (const ButtonPaint& p : update.paints)
        if (QPushButton* b = button(p.index)) paint_button(b, p.colour);
    for (const ButtonEnable& e : update.enables)
        if (QPushButton* b = button(e.index)) b->setEnabled(e.enabled);
}

bool PanelTab::confirmed(int index) {
    // Undoing a factory reset is not possible, so a stray click must not do it.
    if (index != factory_reset_index) return true;
    return window_.dialogs().question(factory_reset_question, false, true) == Answer::Yes;
}

void PanelTab::cmd_panel_Click(int index) {
    pending_panel_index_ = index;
    if (window_.defer(pending_panel_button)) return;
    QPushButton* b = button(index);
    const PanelButton& pb = panel_button(index);
    if (!b || pb.command < 0) return;
    if (!confirmed(index)) return;

    b->setEnabled(false);
    window_.pump().process_events();
    panel_press(window_.engine(), index, flags_, applier());
    b->setEnabled(true);
}

PanelApply PanelTab::applier() {
    return [this](const PanelUpdate& u) { apply(u); };
}

void PanelTab::panel_read_all() {
    t27::panel_read_all(window_.engine(), flags_, applier());
    apply_visibility();
}

void PanelTab::apply_visibility() {
    for (const ButtonVisible& v :
         panel_visibility(window_.unit().task_mode, window_.unit().model_family))
        if (QPushButton* b = button(v.index)) b->setVisible(v.visible);
    lay_out();
}

void PanelTab::lay_out() {
    // Rows close up over the ones the task mode hides, and a row whose
    // buttons are all hidden hides its caption too.
    std::array<int, 2> line = {0, 0};
    for (const Row& row : rows_) {
        std::vector<QPushButton*> shown;
        for (int index : row.buttons)
            if (QPushButton* b = button(index); b && !b->isHidden()) shown.push_back(b);
        if (!row.label) {
            for (std::size_t k = 0; k < shown.size(); ++k)
                shown[k]->setGeometry(
                    twips_rect(system_left + static_cast<int>(k) * (system_width + 200), system_top,
                               system_width, button_height));
            continue;
        }
        row.label->setVisible(!shown.empty());
        if (shown.empty()) continue;
        const int c = row.column;
        const int top = first_line + line[static_cast<std::size_t>(c)] * line_height;
        row.label->setGeometry(twips_rect(column_left[c], top + 50, label_width[c], 300));
        for (std::size_t k = 0; k < shown.size(); ++k) {
            const int i = static_cast<int>(k);
            shown[k]->setGeometry(twips_rect(
                column_left[c] + label_width[c] + (i % buttons_per_line[c]) * button_step[c],
                top + (i / buttons_per_line[c]) * line_height, button_width[c], button_height));
        }
        line[static_cast<std::size_t>(c)] +=
            (static_cast<int>(shown.size()) + buttons_per_line[c] - 1) / buttons_per_line[c];
    }
}

}  // namespace t27
