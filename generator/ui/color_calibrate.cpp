#include "generator/ui/color_calibrate.h"

#include <QTimer>

#include "generator/ui/gen_widgets.h"

namespace t27 {

namespace {

constexpr int window_width_twips = 6000;
constexpr int window_height_twips = 3950;
constexpr int retry_ms = 20;

struct PairLayout {
    CalComponent component;
    const char* label_name;
    const char* caption;
    const char* txt_name;
    const char* hsr_name;
};

constexpr PairLayout pair_layout[] = {
    {CalComponent::level, "lab_level", "Level", "txt_level", "hsr_level"},
    {CalComponent::red, "lab_red", "Red", "txt_red", "hsr_red"},
    {CalComponent::green, "lab_green", "Green", "txt_green", "hsr_green"},
    {CalComponent::blue, "lab_blue", "Blue", "txt_blue", "hsr_blue"},
};

}  // namespace

ColorCalibrate::ColorCalibrate(MainWindow& window) : QDialog(&window, Qt::Dialog), window_(window) {
    setObjectName("frm_color_calibrate");
    setWindowTitle(QStringLiteral("Color Setting"));
    setFixedSize(twips_to_px(window_width_twips), twips_to_px(window_height_twips));

    make_label(this, "lab_color", "Color", twips_rect(120, 180, 900, 300));
    cbo_color_ = new QComboBox(this);
    cbo_color_->setObjectName("cbo_color");
    cbo_color_->setGeometry(twips_rect(1100, 120, 2200, 360));
    connect(cbo_color_, QOverload<int>::of(&QComboBox::activated), this,
            [this](int) { cbo_color_Click(); });

    cmd_refresh_ = new QPushButton(QStringLiteral("Refresh"), this);
    cmd_refresh_->setObjectName("cmd_refresh");
    cmd_refresh_->setGeometry(twips_rect(4300, 100, 1400, 420));
    connect(cmd_refresh_, &QPushButton::clicked, this, [this] { cmd_refresh_Click(); });

    int row = 0;
    for (const PairLayout& l : pair_layout) {
        const int top = 900 + row * 800;
        Pair& p = pair(l.component);
        make_label(this, l.label_name, l.caption, twips_rect(120, top + 30, 900, 300));
        p.txt = new QLineEdit(this);
        p.txt->setObjectName(QString::fromLatin1(l.txt_name));
        p.txt->setGeometry(twips_rect(1100, top, 800, 360));
        make_label(this, (std::string("lab_min_") + std::to_string(row)).c_str(), "0",
                   twips_rect(2000, top + 30, 200, 300));
        p.hsr = new QScrollBar(Qt::Horizontal, this);
        p.hsr->setObjectName(QString::fromLatin1(l.hsr_name));
        p.hsr->setGeometry(twips_rect(2250, top + 30, 2900, 300));
        p.hsr->setRange(0, calibrate_max_value);
        p.hsr->setSingleStep(1);
        p.hsr->setPageStep(16);
        make_label(this, (std::string("lab_max_") + std::to_string(row)).c_str(), "255",
                   twips_rect(5250, top + 30, 500, 300));
        const CalComponent c = l.component;
        // Tracking is on, so dragging reports every value it passes.
        connect(p.hsr, &QScrollBar::valueChanged, this, [this, c](int) { hsr_Change(c); });
        new KeyFilter(p.txt, [this, c](int key) {
            if (!is_enter_key(key)) return false;
            txt_KeyPress(c, 13);
            return true;
        });
        new FocusInFilter(p.txt, [this, c] { txt_GotFocus(c); });
        ++row;
    }
}

ColorCalibrate* ColorCalibrate::show_for(MainWindow& window) {
    ColorCalibrate* w = window.findChild<ColorCalibrate*>(QStringLiteral("frm_color_calibrate"),
                                                          Qt::FindDirectChildrenOnly);
    if (w) {
        w->raise();
        w->activateWindow();
        return w;
    }
    w = new ColorCalibrate(window);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setWindowModality(Qt::ApplicationModal);
    w->form_load();
    return w;
}

bool ColorCalibrate::linked() const { return window_.transport_open(); }

void ColorCalibrate::form_load() {
    loading_ = true;
    suppress_ = false;
    const QRect main = window_.geometry();
    move(main.x() + main.width() - width(), main.y() + main.height() - height());
    cbo_color_->clear();
    for (const char* c : calibrate_colours) cbo_color_->addItem(QString::fromLatin1(c));
    show();
    cmd_refresh_Click();
    loading_ = false;
}

void ColorCalibrate::cmd_refresh_Click() {
    if (!linked()) return;
    Engine& engine = window_.engine();
    engine.cmdtx_str(calibrate_colour_query() + "\r");
    if (window_.link().cmdrx_status != ReplyStatus::Accepted) return;
    const int entry = calibrate_colour_entry(reply_param1(engine));
    if (entry < 0) return;
    const bool changed = cbo_color_->currentIndex() != entry;
    cbo_color_->setCurrentIndex(entry);
    // A selection the program makes outside loading counts as the user's choice.
    if (changed && !loading_) cbo_color_Click();
    calibrate_values_read(entry);
}

void ColorCalibrate::cbo_color_Click() {
    if (loading_ || !linked()) return;
    const int entry = cbo_color_->currentIndex();
    const std::string request = calibrate_colour_request(entry);
    if (request.empty()) return;
    window_.engine().cmdtx_str(request + "\r");
    if (window_.link().cmdrx_status == ReplyStatus::Accepted) calibrate_values_read(entry);
}

void ColorCalibrate::set_from_reply(CalComponent c, const std::string& value) {
    Pair& p = pair(c);
    p.txt->setText(to_qt(value));
    if (std::optional<int> v = calibrate_reply_value(value)) {
        suppress_ = true;
        p.hsr->setValue(*v);
        suppress_ = false;
    }
}

void ColorCalibrate::calibrate_values_read(int entry) {
    const bool user = entry == calibrate_user_entry;
    for (const PairLayout& l : pair_layout) {
        const bool on = (l.component == CalComponent::level) != user;
        pair(l.component).txt->setEnabled(on);
        pair(l.component).hsr->setEnabled(on);
    }
    Engine& engine = window_.engine();
    if (!user) {
        engine.cmdtx_str(calibrate_query(CalComponent::level) + "\r");
        if (window_.link().cmdrx_status == ReplyStatus::Accepted)
            set_from_reply(CalComponent::level, reply_param1(engine));
        return;
    }
    for (CalComponent c : calibrate_user_components) {
        engine.cmdtx_str(calibrate_query(c) + "\r");
        if (window_.link().cmdrx_status != ReplyStatus::Accepted) return;
        set_from_reply(c, reply_param1(engine));
    }
}

void ColorCalibrate::send_value(CalComponent c, const std::string& value) {
    Pair& p = pair(c);
    // A request made while another waits would take over that one's reply;
    // the newest value is sent as soon as the line is free instead.
    if (sending_ || window_.link().cmdtx_busy) {
        p.pending = true;
        p.pending_value = value;
        if (!sending_) QTimer::singleShot(retry_ms, this, [this] { send_pending(); });
        return;
    }
    sending_ = true;
    window_.engine().cmdtx_str(calibrate_set_request(c, value) + "\r");
    sending_ = false;
    send_pending();
}

void ColorCalibrate::send_pending() {
    for (Pair& p : pairs_) {
        if (!p.pending) continue;
        if (sending_ || window_.link().cmdtx_busy) {
            if (!sending_) QTimer::singleShot(retry_ms, this, [this] { send_pending(); });
            return;
        }
        p.pending = false;
        send_value(static_cast<CalComponent>(&p - pairs_.data()), p.pending_value);
        return;  // send_value drains the rest
    }
}

void ColorCalibrate::hsr_Change(CalComponent c) {
    if (suppress_) return;
    Pair& p = pair(c);
    p.txt->setText(QString::number(p.hsr->value()));
    send_value(c, from_qt(p.txt->text()));
}

void ColorCalibrate::select_whole(QLineEdit* t) {
    // The cursor at the start and the whole text selected, so the next key
    // replaces it.
    const int n = static_cast<int>(t->text().size());
    t->setSelection(n, -n);
}

void ColorCalibrate::txt_KeyPress(CalComponent c, int key) {
    if (key != 13) return;
    Pair& p = pair(c);
    const CalibrateEntry e = calibrate_typed_value(from_qt(p.txt->text()));
    window_.pump().process_events();
    if (e.valid) {
        suppress_ = true;
        p.hsr->setValue(e.value);
        send_value(c, e.text);
        suppress_ = false;
    }
    select_whole(p.txt);
}

void ColorCalibrate::txt_GotFocus(CalComponent c) {
    QLineEdit* t = pair(c).txt;
    // After a mouse click the press itself would place the cursor again, so
    // the selection is made once the click is through.
    QTimer::singleShot(0, t, [t] { select_whole(t); });
}

}  // namespace t27
