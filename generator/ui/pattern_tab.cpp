#include "generator/ui/pattern_tab.h"

#include <QPointer>

#include "generator/ui/color_calibrate.h"
#include "generator/ui/gen_widgets.h"
#include "generator/output_requests.h"
#include "generator/output_select.h"
#include "generator/ui/page_link.h"

namespace t27 {

namespace {

constexpr FavouriteRowNames pattern_row = {"lstv_pattern", "Patterns", "cmd_pattern",
                                           "cmd_check_p_none"};

}  // namespace

PatternTab::PatternTab(MainWindow& window)
    : QWidget(window.tab_frame(tab_pattern)), window_(window) {
    setObjectName("pag_pattern");
    setGeometry(parentWidget()->rect());

    row_ = new FavouriteRow(this, pattern_row, window.state().favourites.fav_pattern);
    row_->on_double_click = [this](int n) { lstv_pattern_DblClick(n); };
    row_->on_button = [this](int k) { cmd_pattern_Click(k); };
    row_->on_select = [this](int) { lstv_pattern_Click(); };

    make_label(this, "lab_pat_out_now_t", "Now Output Pattern =", twips_rect(4900, 180, 2300, 300));
    lab_pat_out_now_ = make_label(this, "lab_pat_out_now", "P?", twips_rect(7350, 180, 3800, 300));
    QFont bold = lab_pat_out_now_->font();
    bold.setBold(true);
    lab_pat_out_now_->setFont(bold);
    QLabel* hint = make_label(this, "lab_prompt_p",
                              "Double click left list or click button below to set output "
                              "pattern. Check left list to set favorite patterns.",
                              twips_rect(4900, 620, 6200, 700));
    hint->setWordWrap(true);
    make_label(this, "lab_fav_pattern", "Favorite Patterns :", twips_rect(4900, 1620, 3000, 300));

    lab_motion_text_ =
        make_label(this, "lab_motion_text", "Motion Text :", twips_rect(4900, 7830, 1500, 300));
    txt_motion_text_ = new QLineEdit(this);
    txt_motion_text_->setObjectName("txt_motion_text");
    txt_motion_text_->setGeometry(twips_rect(6400, 7780, 3200, 380));
    txt_motion_text_->setMaxLength(motion_text_max);
    // Start-up empties the field; the layout's sample text is only a width guide.
    txt_motion_text_->clear();
    new KeyFilter(txt_motion_text_, [this](int key) {
        if (!is_enter_key(key)) return false;
        txt_motion_text_KeyPress(13);
        return true;
    });
    lab_motion_text_->hide();
    txt_motion_text_->hide();

    cmd_color_setting_ = new QPushButton(QStringLiteral("Color Setting"), this);
    cmd_color_setting_->setObjectName("cmd_color_setting");
    cmd_color_setting_->setGeometry(twips_rect(4900, 8400, 1800, 450));
    connect(cmd_color_setting_, &QPushButton::clicked, this, [this] { cmd_color_setting_Click(); });
    cmd_color_setting_->hide();

    new PageLink(window, tab_pattern, this, this);
    window.set_pending_handler(pending_read_pattern, [p = QPointer<PatternTab>(this)] {
        if (p) p->lstv_pattern_out_get();
    });
    window.set_pending_handler(pending_motion_text, [p = QPointer<PatternTab>(this)] {
        if (p) p->txt_motion_text_KeyPress(13);
    });
    window.set_pending_handler(pending_output_pattern, [p = QPointer<PatternTab>(this)] {
        if (p) p->output_from_list(p->deferred_pattern_, nullptr);
    });
    catalogue_changed();
}

void PatternTab::selected() { row_->list()->setVisible(true); }

void PatternTab::read_back() { lstv_pattern_out_get(); }

void PatternTab::catalogue_changed() {
    row_->fill(window_.state().catalogue.patterns);
    // Nothing is selected in the new list and nothing is known to be output,
    // so neither extra belongs to the new unit yet.
    pattern_extras_show();
}

bool PatternTab::variant() const {
    return colour_variant(window_.unit().linked_model, window_.unit().model_family);
}

void PatternTab::pattern_extras_show() {
    const PatternExtras e =
        t27::pattern_extras_show(row_->selected(), window_.state().current_pattern, variant());
    lab_motion_text_->setVisible(e.motion_visible);
    txt_motion_text_->setVisible(e.motion_visible);
    cmd_color_setting_->setVisible(e.colour_visible);
    cmd_color_setting_->setEnabled(e.colour_enabled);
}

void PatternTab::output_pattern(int n) {
    pattern_request(window_.engine(), n);
    if (window_.link().cmdrx_status != ReplyStatus::Accepted) return;
    lab_pat_out_now_->setText(to_qt(row_->name(n)));
    window_.state().current_pattern = n;
    pattern_extras_show();
    row_->highlight(n);
}

void PatternTab::lstv_pattern_DblClick(int n) {
    // A second request inside a waiting one would take over its reply, so a
    // choice made meanwhile is sent once the line is free.
    if (window_.defer(pending_output_pattern)) {
        deferred_pattern_ = n;
        return;
    }
    output_from_list(n, nullptr);
}

void PatternTab::cmd_pattern_Click(int k) {
    const int n = row_->fav_slots()[static_cast<std::size_t>(k)];
    if (n == favourite_empty) return;
    if (window_.defer(pending_output_pattern)) {
        deferred_pattern_ = n;
        return;
    }
    output_from_list(n, row_->button(k));
}

void PatternTab::output_from_list(int n, QPushButton* b) {
    if (n < 1 || n > row_->count()) return;
    if (b) b->setEnabled(false);
    row_->list()->setEnabled(false);
    window_.pump().process_events();
    row_->select(n);
    output_pattern(n);
    row_->list()->setEnabled(true);
    if (b) b->setEnabled(true);
}

void PatternTab::lstv_pattern_Click() { pattern_extras_show(); }

void PatternTab::txt_motion_text_KeyPress(int key) {
    if (key != 13) return;
    std::string bytes;
    if (const std::string why = motion_text_problem(txt_motion_text_->text().toStdString(), bytes);
        !why.empty()) {
        window_.dialogs().message(why, MessageIcon::Warning);
        return;
    }
    if (window_.defer(pending_motion_text)) return;
    motion_text_request(window_.engine(), bytes);
}

void PatternTab::lstv_pattern_out_get() {
    if (window_.state().current_tab != tab_pattern || window_.unit().model_family == not_known ||
        !window_.transport_open())
        return;
    if (window_.defer(pending_read_pattern)) return;
    Engine& engine = window_.engine();
    const std::optional<int> read = pattern_read(engine, row_->count());
    if (!read) return;
    const int n = *read;
    row_->select(n);
    lab_pat_out_now_->setText(to_qt(row_->name(n)));
    window_.state().current_pattern = n;
    row_->highlight(n);

    const PatternReadbackExtras e = pattern_readback_extras(n, variant());
    if (e.set_colour_visible) {
        cmd_color_setting_->setVisible(e.colour_visible);
        cmd_color_setting_->setEnabled(e.colour_visible);
    }
    if (e.query_motion_text)
        if (const std::optional<std::string> text = motion_text_read(engine))
            txt_motion_text_->setText(to_qt(*text));
}

void PatternTab::cmd_color_setting_Click() { ColorCalibrate::show_for(window_); }

}  // namespace t27
