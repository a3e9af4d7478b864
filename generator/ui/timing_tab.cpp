#include "generator/ui/timing_tab.h"

#include <QPointer>

#include "generator/downscale.h"
#include "generator/ui/gen_widgets.h"
#include "generator/output_requests.h"
#include "generator/output_select.h"
#include "generator/ui/page_link.h"

namespace t27 {

namespace {

constexpr FavouriteRowNames timing_row = {"lstv_timing", "Timings", "cmd_timing",
                                          "cmd_check_v_none"};

}  // namespace

TimingTab::TimingTab(MainWindow& window) : QWidget(window.tab_frame(tab_timing)), window_(window) {
    setObjectName("pag_timing");
    setGeometry(parentWidget()->rect());

    row_ = new FavouriteRow(this, timing_row, window.state().favourites.fav_timing);
    row_->on_double_click = [this](int n) { lstv_timing_DblClick(n); };
    row_->on_button = [this](int k) { cmd_timing_Click(k); };

    make_label(this, "lab_reso_out_now_t",
               "Now Output Resolution =", twips_rect(4900, 180, 2300, 300));
    lab_reso_out_now_ =
        make_label(this, "lab_reso_out_now", "T?", twips_rect(7350, 180, 3800, 300));
    QFont bold = lab_reso_out_now_->font();
    bold.setBold(true);
    lab_reso_out_now_->setFont(bold);
    QLabel* hint = make_label(this, "lab_prompt_v",
                              "Double click left list or click button below to set output "
                              "resolution. Check left list to set favorite timings.",
                              twips_rect(4900, 620, 6200, 700));
    hint->setWordWrap(true);
    make_label(this, "lab_fav_timing", "Favorite Timings :", twips_rect(4900, 1620, 3000, 300));

    // Covers the list: a V4L unit in analyser mode scales its input instead
    // of generating a timing of its own.
    fra_reso_out_v4l_ = new QFrame(this);
    fra_reso_out_v4l_->setObjectName("fra_reso_out_v4l");
    fra_reso_out_v4l_->setGeometry(twips_rect(120, 120, 4600, 8880));
    fra_reso_out_v4l_->setFrameShape(QFrame::StyledPanel);
    fra_reso_out_v4l_->setAutoFillBackground(true);
    make_label(fra_reso_out_v4l_, "lab_4k_to_1080p",
               "4K to 1080P Down Scaling :", twips_rect(150, 150, 4200, 300));
    for (int i = 0; i < 3; ++i) {
        auto* o = new QRadioButton(
            QString::fromLatin1(downscale_options[static_cast<std::size_t>(i)].caption),
            fra_reso_out_v4l_);
        o->setObjectName(QStringLiteral("opt_4k_to_1080p_%1").arg(i));
        o->setGeometry(twips_rect(300, 600 + i * 500, 4000, 400));
        // A click or a key that changes the choice sends it.
        connect(o, &QRadioButton::clicked, this, [this, i] { downscale_set(i); });
        opt_4k_to_1080p_[static_cast<std::size_t>(i)] = o;
    }
    fra_reso_out_v4l_->hide();
    fra_reso_out_v4l_->raise();

    new PageLink(window, tab_timing, this, this);
    window.set_pending_handler(pending_read_timing, [p = QPointer<TimingTab>(this)] {
        if (p) p->read_back();
    });
    window.set_pending_handler(pending_output_timing, [p = QPointer<TimingTab>(this)] {
        if (p) p->output_from_list(p->deferred_timing_, nullptr);
    });
    window.set_pending_handler(pending_downscale, [p = QPointer<TimingTab>(this)] {
        if (p) p->downscale_set(p->deferred_downscale_);
    });
    catalogue_changed();
}

void TimingTab::selected() { row_->list()->setVisible(true); }

void TimingTab::catalogue_changed() { row_->fill(window_.state().catalogue.timings); }

void TimingTab::read_back() {
    if (downscale_serves_tab(window_.unit().model_family, window_.unit().task_mode))
        downscale_read();
    else
        lstv_timing_out_get();
}

void TimingTab::output_timing(int n) {
    timing_request(window_.engine(), n);
    if (window_.link().cmdrx_status != ReplyStatus::Accepted) return;
    lab_reso_out_now_->setText(to_qt(row_->name(n)));
    row_->highlight(n);
}

void TimingTab::lstv_timing_DblClick(int n) {
    if (!timing_output_allowed(n, window_.unit().task_mode)) return;
    // A second request inside a waiting one would take over its reply, so a
    // choice made meanwhile is sent once the line is free.
    if (window_.defer(pending_output_timing)) {
        deferred_timing_ = n;
        return;
    }
    output_from_list(n, nullptr);
}

void TimingTab::cmd_timing_Click(int k) {
    const int n = row_->fav_slots()[static_cast<std::size_t>(k)];
    if (n == favourite_empty) return;
    if (!timing_output_allowed(n, window_.unit().task_mode)) return;
    if (window_.defer(pending_output_timing)) {
        deferred_timing_ = n;
        return;
    }
    output_from_list(n, row_->button(k));
}

void TimingTab::output_from_list(int n, QPushButton* b) {
    // The task mode may have changed while the choice waited.
    if (n < 1 || n > row_->count() || !timing_output_allowed(n, window_.unit().task_mode)) return;
    if (b) b->setEnabled(false);
    row_->list()->setEnabled(false);
    window_.pump().process_events();
    row_->select(n);
    output_timing(n);
    row_->list()->setEnabled(true);
    if (b) b->setEnabled(true);
}

bool TimingTab::read_back_allowed() const {
    return window_.state().current_tab == tab_timing && window_.unit().model_family != not_known &&
           window_.transport_open();
}

void TimingTab::lstv_timing_out_get() {
    if (!read_back_allowed()) return;
    if (window_.defer(pending_read_timing)) return;
    if (downscale_serves_tab(window_.unit().model_family, window_.unit().task_mode)) return;
    fra_reso_out_v4l_->hide();
    const std::optional<int> read = timing_read(window_.engine(), row_->count());
    if (!read) return;
    const int n = *read;
    row_->select(n);
    lab_reso_out_now_->setText(to_qt(row_->name(n)));
    row_->highlight(n);
}

void TimingTab::downscale_read() {
    if (!read_back_allowed()) return;
    if (window_.defer(pending_read_timing)) return;
    if (!downscale_serves_tab(window_.unit().model_family, window_.unit().task_mode)) {
        fra_reso_out_v4l_->hide();
        return;
    }
    fra_reso_out_v4l_->show();
    const std::optional<int> option = downscale_read_option(window_.engine());
    if (option && *option >= 0) downscale_show(*option);
}

void TimingTab::downscale_set(int option) {
    const std::string request = downscale_request(option);
    if (request.empty()) return;
    // The button already shows the choice; it is sent once the line is free.
    if (window_.defer(pending_downscale)) {
        deferred_downscale_ = option;
        return;
    }
    window_.engine().cmdtx_str(request + "\r");
    if (window_.link().cmdrx_status == ReplyStatus::Accepted) {
        downscale_show(option);  // a read-back may have shown the old one meanwhile
        return;
    }
    // Whether the unit took it is unknown: show what it says it has, or,
    // when it says nothing, what it last confirmed.
    downscale_show(downscale_unit_);
    downscale_read();
}

void TimingTab::downscale_show(int option) {
    downscale_unit_ = option;
    // With no known choice none is ticked, which exclusive buttons only allow
    // while they are not exclusive.
    for (std::size_t i = 0; i < opt_4k_to_1080p_.size(); ++i) {
        QRadioButton* o = opt_4k_to_1080p_[i];
        o->setAutoExclusive(false);
        o->setChecked(static_cast<int>(i) == option);
        o->setAutoExclusive(true);
    }
}

}  // namespace t27
