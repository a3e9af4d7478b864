#include "cable/ui/cable_tab.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <algorithm>

#include "cable/ui/cable_arrow.h"
#include "cable/cable_commands.h"
#include "cable/cable_reply.h"
#include "cable/cable_times.h"
#include "common/qt/qt_text.h"
#include "common/ui/qt_colour.h"
#include "common/ui/qt_widgets.h"

namespace t27 {

namespace {

// Layout inside fra_cable, in twips.
constexpr int field_top = 2520, field_width = 1100, field_height = 540;
constexpr int day_left = 720, hour_left = 2400, minute_left = 3900, second_left = 5400;
constexpr int arrow_top = 3480, arrow_width = 900, arrow_height = 480;
constexpr int bar_left = 720, bar_top = 4380, bar_width = 9900;

QFont scaled(QFont f, double factor, bool bold) {
    f.setPointSizeF(f.pointSizeF() * factor);
    f.setBold(bold);
    return f;
}

void set_border(QFrame* shape, Colour c) {
    shape->setProperty("t27_colour", static_cast<uint>(c));
    shape->setStyleSheet(QStringLiteral("QFrame#%1 { border: 2px solid %2; border-radius: 6px; }")
                             .arg(shape->objectName(), to_qcolor(c).name()));
}

}  // namespace

CableTab::CableTab(MainWindow& window) : QFrame(window.tab_frame(tab_cable)), window_(window) {
    setObjectName("fra_cable");
    build();
    window_.set_page(tab_cable, this);
    window_.set_pending_handler(pending_cable_start, [this] { lab_cable_start_Click(); });
    window_.set_pending_handler(pending_cable_stop, [this] { lab_cable_stop_Click(); });
    window_.set_pending_handler(pending_cable_level, [this] { cmd_cable_level_Click(); });
    window_.set_pending_handler(pending_cable_time, [this] { cbo_cable_time_Click(); });
    // Members of the window go before its children do; the poll timer is
    // one of them.
    connect(&window_.tim_monitor(), &QObject::destroyed, this, [this] { window_gone_ = true; });
}

CableTab::~CableTab() {
    if (window_gone_) return;
    window_.set_page(tab_cable, nullptr);
    for (int code :
         {pending_cable_start, pending_cable_stop, pending_cable_level, pending_cable_time})
        window_.set_pending_handler(code, nullptr);
}

void CableTab::build() {
    setGeometry(QRect(QPoint(0, 0), parentWidget()->size()));

    lab_cable_time_ = make_widget<QLabel>(this, "lab_cable_time", twips_rect(720, 540, 1400, 330),
                                          QStringLiteral("Test Time"));
    cbo_cable_time_ =
        make_widget<QComboBox>(this, "cbo_cable_time", twips_rect(2200, 480, 2200, 390));
    // Filled while the window loads: none of this is a choice to send.
    view_.cable_time_suppress = true;
    for (int i = 0; i < cable_time_count; ++i)
        cbo_cable_time_->addItem(QString::fromLatin1(cable_time_at(i)->text));
    cbo_cable_time_->setCurrentIndex(-1);
    view_.cable_time_suppress = false;
    connect(cbo_cable_time_, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this](int) { cbo_cable_time_Click(); });
    cbo_cable_time_->installEventFilter(this);

    cmd_cable_level_ = make_widget<QPushButton>(
        this, "cmd_cable_level", twips_rect(720, 1080, 1400, 450), QStringLiteral("Test Level"));
    connect(cmd_cable_level_, &QPushButton::clicked, this, [this] { cmd_cable_level_Click(); });
    lab_cable_level_ =
        make_widget<QLabel>(this, "lab_cable_level", twips_rect(2200, 1110, 2200, 390));
    lab_cable_level_->setFrameShape(QFrame::Panel);
    lab_cable_level_->setFrameShadow(QFrame::Sunken);
    lab_cable_level_->setAlignment(Qt::AlignCenter);
    lab_cable_level_->setFont(scaled(font(), 1.1, true));

    auto button = [this](const char* shape, const char* label, int left, const char* caption,
                         const char* tip, QFrame*& sha, ClickLabel*& lab) {
        sha = make_widget<QFrame>(this, shape, twips_rect(left, 480, 2400, 1050));
        lab = make_widget<ClickLabel>(sha, label, QRect(QPoint(0, 0), sha->size()),
                                      QString::fromLatin1(caption));
        lab->setAlignment(Qt::AlignCenter);
        lab->setFont(scaled(font(), 1.8, true));
        lab->setToolTip(QString::fromLatin1(tip));
        lab->setCursor(Qt::PointingHandCursor);
    };
    button("sha_cable_start", "lab_cable_start", 5400, "START", "Click to start cable test",
           sha_cable_start_, lab_cable_start_);
    button("sha_cable_stop", "lab_cable_stop", 8160, "STOP", "Click to stop cable test",
           sha_cable_stop_, lab_cable_stop_);
    connect(lab_cable_start_, &ClickLabel::clicked, this, [this] { lab_cable_start_Click(); });
    connect(lab_cable_stop_, &ClickLabel::clicked, this, [this] { lab_cable_stop_Click(); });

    static const char* const field_names[4] = {"lab_cable_day", "lab_cable_hour",
                                               "lab_cable_minute", "lab_cable_second"};
    static const char* const field_captions[4] = {"Day", "Hour", "Minute", "Second"};
    static const int field_lefts[4] = {day_left, hour_left, minute_left, second_left};
    for (std::size_t i = 0; i < 4; ++i) {
        auto* caption = make_widget<QLabel>(
            this, QString(), twips_rect(field_lefts[i], field_top - 330, field_width, 300),
            QString::fromLatin1(field_captions[i]));
        caption->setAlignment(Qt::AlignCenter);
        QLabel* f = make_widget<QLabel>(
            this, field_names[i], twips_rect(field_lefts[i], field_top, field_width, field_height),
            QStringLiteral("0"));
        f->setFrameShape(QFrame::Panel);
        f->setFrameShadow(QFrame::Sunken);
        f->setAlignment(Qt::AlignCenter);
        f->setFont(scaled(font(), 1.6, true));
        lab_timer_[i] = f;
    }
    // The two colons sit in the gaps between hour, minute and second: a fixed
    // pitch font puts them where the blanks say.
    QFont mono = scaled(QFont(QStringLiteral("Monospace")), 1.6, true);
    mono.setStyleHint(QFont::TypeWriter);
    const int pitch = std::max(1, QFontMetrics(mono).horizontalAdvance(QLatin1Char(' ')));
    const int gap_px = twips_to_px(minute_left - hour_left);
    const int blanks = std::max(1, (gap_px + pitch / 2) / pitch - 1);
    const int center = twips_to_px((hour_left + field_width + second_left) / 2);
    const int span = (blanks + 2) * pitch;
    lab_cable_timer_ = make_widget<QLabel>(
        this, "lab_cable_timer",
        QRect(center - span / 2, twips_to_px(field_top), span, twips_to_px(field_height)),
        QStringLiteral(":") + QString(blanks, QLatin1Char(' ')) + QStringLiteral(":"));
    lab_cable_timer_->setFont(mono);
    lab_cable_timer_->setAlignment(Qt::AlignCenter);
    lab_cable_timer_->lower();  // behind the fields, showing only in the gaps

    img_cable_arrow_ = make_widget<QLabel>(this, "img_cable_arrow",
                                           twips_rect(0, arrow_top, arrow_width, arrow_height));
    img_cable_arrow_->setPixmap(cable_arrow_pixmap(img_cable_arrow_->size()));

    pbar_cable_ = make_widget<QProgressBar>(this, "pbar_cable",
                                            twips_rect(bar_left, bar_top, bar_width, 480));
    pbar_cable_->setRange(0, cable_pbar_full);
    pbar_cable_->setTextVisible(false);

    lab_cable_result_ = make_widget<QLabel>(this, "lab_cable_result",
                                            twips_rect(bar_left, bar_top - 240, bar_width, 960));
    lab_cable_result_->setAlignment(Qt::AlignCenter);
    lab_cable_result_->setFont(scaled(font(), 2.6, true));

    render();
}

CableGeometry CableTab::geometry() const {
    return CableGeometry{width() * twips_per_pixel, img_cable_arrow_->width() * twips_per_pixel};
}

void CableTab::render() {
    lab_cable_level_->setText(to_qt(view_.level));
    lab_cable_result_->setText(to_qt(view_.result));
    for (std::size_t i = 0; i < lab_timer_.size(); ++i)
        lab_timer_[i]->setText(to_qt(view_.timer[i]));
    lab_cable_start_->setEnabled(view_.start_enabled);
    lab_cable_stop_->setEnabled(view_.stop_enabled);
    set_border(sha_cable_start_, view_.start_border);
    set_border(sha_cable_stop_, view_.stop_border);
    cbo_cable_time_->setEnabled(view_.time_enabled);
    cmd_cable_level_->setEnabled(view_.level_enabled);
    if (cbo_cable_time_->currentIndex() != view_.time_entry) {
        view_.cable_time_suppress = true;
        cbo_cable_time_->setCurrentIndex(view_.time_entry);
        view_.cable_time_suppress = false;
    }
    pbar_cable_->setValue(view_.pbar_value);
    pbar_cable_->setVisible(view_.pbar_visible);
    img_cable_arrow_->move(twips_to_px(view_.arrow_left), img_cable_arrow_->y());
    img_cable_arrow_->setVisible(view_.arrow_visible);
    lab_cable_result_->setVisible(view_.result_visible);
}

// ---- poll ------------------------------------------------------------------------

void CableTab::cable_test_run() {
    window_.state().pending_action = none_pending;
    cable_table_set();
    const bool linked = window_.transport_open() && window_.unit().model_family != not_known;
    if (!linked) {
        window_.tim_monitor().stop();
    } else if (window_.state().current_tab == tab_cable && !window_.link().app_closing) {
        window_.tim_monitor().start();
    }
}

void CableTab::cable_table_set() { window_.set_poll_list(cable_poll_list()); }

void CableTab::poll_reply(int index) {
    cable_reply_show(view_, index, window_.link().cmdrx_param1, geometry());
    render();
}

// ---- user actions -------------------------------------------------------------------

void CableTab::send_from(bool CableView::*control, const std::string& request) {
    view_.*control = false;
    render();
    window_.pump().process_events();
    window_.engine().cmdtx_str(request);
    view_.*control = true;
    render();
}

void CableTab::lab_cable_start_Click() {
    if (window_.defer(pending_cable_start)) return;
    view_.start_enabled = false;
    render();
    window_.pump().process_events();
    view_.pbar_value = 0;
    send_from(&CableView::start_enabled, cable_run_request(true));
}

void CableTab::lab_cable_stop_Click() {
    if (window_.defer(pending_cable_stop)) return;
    send_from(&CableView::stop_enabled, cable_run_request(false));
}

void CableTab::cmd_cable_level_Click() {
    if (window_.defer(pending_cable_level)) return;
    send_from(&CableView::level_enabled, cable_level_request(view_.level));
}

void CableTab::cbo_cable_time_Click() {
    // Checked before the deferral: a position the program set is never sent,
    // not even later.
    if (view_.cable_time_suppress) return;
    view_.time_entry = cbo_cable_time_->currentIndex();
    if (window_.defer(pending_cable_time)) return;
    if (view_.time_entry < 0) return;
    send_from(&CableView::time_enabled, cable_time_request(view_.time_entry));
}

void CableTab::cbo_cable_time_GotFocus() { view_.cable_time_focus = true; }
void CableTab::cbo_cable_time_LostFocus() { view_.cable_time_focus = false; }

bool CableTab::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cbo_cable_time_) {
        if (event->type() == QEvent::FocusIn) {
            cbo_cable_time_GotFocus();
        } else if (event->type() == QEvent::FocusOut &&
                   static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            // Opening the drop-down list is still the user choosing.
            cbo_cable_time_LostFocus();
        }
    }
    return QFrame::eventFilter(watched, event);
}

}  // namespace t27
