#include "mainwin/main_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <iostream>
#if defined(Q_OS_WIN)
#include <QDesktopServices>
#include <QUrl>
#endif

#include "common/atomic_write.h"
#include "common/qt/qt_text.h"
#include "common/ui/qt_colour.h"
#include "common/ui/qt_widgets.h"
#include "common/twips.h"
#include "settings/catalogue_load.h"
#include "settings/program_dir.h"
#include "settings/settings_save.h"
#include "mainwin/about_box.h"
#include "mainwin/main_window_parts.h"
#include "mainwin/device_dialog.h"
#include "mainwin/popup_combo.h"

namespace t27 {

namespace {

// Enter in the address box connects, as the button does.
class EnterFilter : public QObject {
  public:
    EnterFilter(QObject* parent, std::function<void()> on_enter)
        : QObject(parent), on_enter_(std::move(on_enter)) {}

  protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(e)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                on_enter_();
                return true;
            }
        }
        return QObject::eventFilter(o, e);
    }

  private:
    std::function<void()> on_enter_;
};

// The command monitor's eye, drawn rather than taken from a font that may
// not have the glyph.
QPixmap eye_picture(const QSize& size) {
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(2, size.height() * 0.25, size.width() - 4, size.height() * 0.5);
    QPainterPath lid;
    lid.moveTo(r.left(), r.center().y());
    lid.quadTo(r.center().x(), r.top() - r.height() * 0.6, r.right(), r.center().y());
    lid.quadTo(r.center().x(), r.bottom() + r.height() * 0.6, r.left(), r.center().y());
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.setBrush(Qt::white);
    p.drawPath(lid);
    const double iris = r.height() * 0.9;
    p.setBrush(QColor(30, 100, 170));
    p.drawEllipse(r.center(), iris / 2, iris / 2);
    p.setBrush(Qt::black);
    p.drawEllipse(r.center(), iris / 5, iris / 5);
    return pm;
}

}  // namespace

MainWindow::MainWindow(const QString& program_dir, Dialogs& dialogs, QWidget* parent)
    : MainWindow(places_in(program_dir.toStdString()), dialogs, parent) {}

MainWindow::MainWindow(const ProgramPlaces& places, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent),
      places_(places),
      program_dir_(QString::fromStdString(places.user)),
      shipped_dir_(QString::fromStdString(places.shipped)),
      dialogs_(dialogs),
      serial_(pump_),
      engine_(link_, unit_, pump_, *this) {
    setObjectName("frm_main");
    engine_.set_serial(&serial_);
    engine_.set_ethernet(&tcp_);
    serial_.closing = [this] { return link_.app_closing; };
    serial_.on_read_failure = [this] {
        // A port that cannot be read is closed the way the button closes it.
        if (link_.serial_open) cmd_rs232_open_Click();
    };
    tcp_.on_connected = [this] { wsk_client_Connect(); };
    tcp_.on_closed = [this] { wsk_client_Close(); };

    tim_clock_.setObjectName("tim_clock");
    tim_clock_.setInterval(100);
    connect(&tim_clock_, &QTimer::timeout, this, [this] { tim_clock_Timer(); });
    tim_eth_.setObjectName("tim_eth");
    tim_eth_.setInterval(eth_connect_ms);
    connect(&tim_eth_, &QTimer::timeout, this, [this] { tim_eth_Timer(); });
    tim_monitor_.setObjectName("tim_monitor");
    tim_monitor_.setInterval(20);
    connect(&tim_monitor_, &QTimer::timeout, this, [this] { tim_monitor_Timer(); });
    tim_pending_.setObjectName("tim_pending");
    tim_pending_.setInterval(20);
    tim_pending_.setSingleShot(true);
    connect(&tim_pending_, &QTimer::timeout, this, [this] { tim_pending_Timer(); });

    build_controls();
    build_tabs();
}

MainWindow::~MainWindow() {
    if (!unloaded_) form_unload();
}

QString MainWindow::documents_dir() const {
    return places_.portable() ? program_dir_ : QDir::homePath();
}

void MainWindow::report_save_failure(const std::string& error) {
    if (save_failure_reported_) return;
    save_failure_reported_ = true;
    std::cerr << "t27-controller: settings not saved: " << error << "\n";
    // A program started from the desktop menu has no terminal to read.
    dialogs_.message(save_failure_message(error), MessageIcon::Warning);
}

void MainWindow::build_controls() {
    resize(twips_to_px(window_width_twips), twips_to_px(window_height_twips));

    cmd_focus_ = new QPushButton(this);
    cmd_focus_->setObjectName("cmd_focus");
    cmd_focus_->setGeometry(-20, -20, 1, 1);  // a neutral place for the focus to rest

    cbo_interface_ = make_widget<QComboBox>(this, "cbo_interface", twips_rect(120, 120, 1300, 330));
    connect(cbo_interface_, QOverload<int>::of(&QComboBox::activated), this,
            [this](int) { cbo_interface_Click(); });

    auto* com_list = make_widget<PopupCombo>(this, "cbo_com", twips_rect(1500, 120, 1100, 330));
    com_list->before_popup = [this] { refresh_com_map(); };
    cbo_com_ = com_list;
    connect(cbo_com_, QOverload<int>::of(&QComboBox::activated), this,
            [this](int) { cbo_com_Click(); });

    cmd_rs232_open_ = make_widget<QPushButton>(
        this, "cmd_rs232_open", twips_rect(2680, 120, 900, 330), QStringLiteral("COM"));
    connect(cmd_rs232_open_, &QPushButton::clicked, this, [this] { cmd_rs232_open_Click(); });

    lab_rs232_protocol_ =
        make_widget<ClickLabel>(this, "lab_rs232_protocol", twips_rect(3660, 150, 1300, 270),
                                QStringLiteral("115200,N,8,1"));

    cmd_device_ = make_widget<QPushButton>(this, "cmd_device", twips_rect(5000, 120, 1600, 330),
                                           QStringLiteral("Device Manager"));

    lab_ip_ = make_widget<ClickLabel>(this, "lab_ip", twips_rect(1500, 150, 300, 270),
                                      QStringLiteral("IP:"));

    txt_eth_ip_ = make_widget<QLineEdit>(this, "txt_eth_ip", twips_rect(1800, 120, 1700, 330));
    txt_eth_ip_->installEventFilter(new EnterFilter(txt_eth_ip_, [this] { txt_eth_ip_Enter(); }));

    cmd_eth_open_ = make_widget<QPushButton>(this, "cmd_eth_open", twips_rect(3580, 120, 900, 330),
                                             QStringLiteral("LAN"));
    connect(cmd_eth_open_, &QPushButton::clicked, this, [this] { cmd_eth_open_Click(); });

    cmd_eth_find_ = make_widget<QPushButton>(this, "cmd_eth_find", twips_rect(4560, 120, 1000, 330),
                                             QStringLiteral("Find IP"));

    cmd_eth_refresh_ = make_widget<QPushButton>(
        this, "cmd_eth_refresh", twips_rect(5640, 120, 1000, 330), QStringLiteral("Refresh"));
    cmd_eth_refresh_->setEnabled(false);

    fra_discovery_ = new DiscoveryPanel(this, DiscoveryTargets{});
    fra_discovery_->setGeometry(twips_rect(1500, 500, 5100, 2000));
    fra_discovery_->hide();
    connect(fra_discovery_, &DiscoveryPanel::connect_requested, this,
            [this](const QString& ip) { lstv_discovery_DblClick(ip); });
    connect(cmd_eth_find_, &QPushButton::clicked, this, [this] { cmd_eth_find_Click(); });
    connect(cmd_eth_refresh_, &QPushButton::clicked, this, [this] { cmd_eth_refresh_Click(); });
    connect(cmd_device_, &QPushButton::clicked, this, [this] { cmd_device_Click(); });

    lab_monitor_eye_cmd_ =
        make_widget<ClickLabel>(this, "lab_monitor_eye_cmd", twips_rect(6940, 140, 440, 360));
    lab_monitor_eye_cmd_->setPixmap(eye_picture(lab_monitor_eye_cmd_->size()));
    lab_monitor_eye_cmd_->setAlignment(Qt::AlignCenter);
    lab_monitor_eye_cmd_->setToolTip(QStringLiteral("Command Monitor"));
    lab_monitor_eye_cmd_->setCursor(Qt::PointingHandCursor);
    connect(lab_monitor_eye_cmd_, &ClickLabel::clicked, this,
            [this] { lab_monitor_eye_cmd_Click(); });
    sha_eye_frame_ = make_widget<QFrame>(this, "sha_eye_frame", twips_rect(6910, 110, 500, 420));
    sha_eye_frame_->setFrameShape(QFrame::Box);
    sha_eye_frame_->setAttribute(Qt::WA_TransparentForMouseEvents);

    img_about_ = make_widget<ClickLabel>(this, "img_about", twips_rect(6940, 560, 440, 300),
                                         QStringLiteral("?"));
    img_about_->setAlignment(Qt::AlignCenter);
    img_about_->setFrameShape(QFrame::Panel);
    img_about_->setToolTip(QStringLiteral("About"));
    img_about_->setCursor(Qt::PointingHandCursor);
    connect(img_about_, &ClickLabel::clicked, this, [this] { img_about_Click(); });

    lab_link_ = make_widget<ClickLabel>(this, "lab_link", twips_rect(120, 560, 1700, 300),
                                        QStringLiteral("Not Linked"));
    lab_link_->setAlignment(Qt::AlignCenter);
    lab_link_->setFrameShape(QFrame::Panel);
    lab_link_->setFrameShadow(QFrame::Sunken);
    lab_link_->setCursor(Qt::PointingHandCursor);
    connect(lab_link_, &ClickLabel::clicked, this, [this] { lab_link_Click(); });

    shape_link_ = make_widget<QFrame>(this, "shape_link", twips_rect(activity_start, 870, 240, 75));
    shape_link_->setStyleSheet("background-color: rgb(0,128,0); border-radius: 4px;");
    shape_link_->hide();

    lab_model_ = make_widget<ClickLabel>(this, "lab_model", twips_rect(2000, 560, 1900, 300));

    lab_fw_ver_ = make_widget<ClickLabel>(this, "lab_fw_ver", twips_rect(4000, 560, 2800, 300),
                                          QStringLiteral("FW:"));

    img_refresh_ = make_widget<ClickLabel>(this, "img_refresh", twips_rect(7560, 180, 600, 600));
    img_refresh_->setToolTip(QStringLiteral("Refresh"));
    img_refresh_->setCursor(Qt::PointingHandCursor);
    connect(img_refresh_, &ClickLabel::clicked, this, [this] { img_refresh_Click(); });

    img_analyser_ = make_widget<ClickLabel>(this, "img_analyser", twips_rect(8260, 120, 960, 720));
    img_pattern_ = make_widget<ClickLabel>(this, "img_pattern", twips_rect(9260, 120, 960, 720));
    img_cable_test_ =
        make_widget<ClickLabel>(this, "img_cable_test", twips_rect(10260, 120, 960, 720));
    img_cable_test_->hide();
    connect(img_analyser_, &ClickLabel::clicked, this, [this] { cmd_task_mode_set("analyser"); });
    connect(img_pattern_, &ClickLabel::clicked, this, [this] { cmd_task_mode_set("pattern"); });
    connect(img_cable_test_, &ClickLabel::clicked, this, [this] { cmd_task_mode_set("cable"); });
}

void MainWindow::build_tabs() {
    static const char* const captions[tab_count] = {
        "EDID", "Output Resolution", "Pattern", "Control Panel", "Monitor", "Cable Test"};
    constexpr int button_top = 960, button_width = 1880, button_height = 390;
    constexpr int frame_top = button_top + button_height + 60;
    const int frame_height = window_height_twips - frame_top - 120;
    for (int i = 0; i < tab_count; ++i) {
        auto* b = new QPushButton(QString::fromLatin1(captions[i]), this);
        b->setObjectName(QStringLiteral("cmd_main_%1").arg(i));
        b->setGeometry(
            twips_rect(120 + i * (button_width + 20), button_top, button_width, button_height));
        set_button_colour(b, colour::light_grey);
        connect(b, &QPushButton::clicked, this, [this, i] { cmd_main_Click(i); });
        cmd_main_[static_cast<std::size_t>(i)] = b;

        auto* f = new QFrame(this);
        f->setObjectName(QStringLiteral("fra_main_%1").arg(i));
        f->setGeometry(twips_rect(120, frame_top, window_width_twips - 240, frame_height));
        f->setFrameShape(QFrame::StyledPanel);
        f->hide();
        fra_main_[static_cast<std::size_t>(i)] = f;
    }
    fra_splash_ = make_widget<QFrame>(
        this, "fra_splash", twips_rect(120, frame_top, window_width_twips - 240, frame_height));
    fra_splash_->setFrameShape(QFrame::StyledPanel);
    auto* title = new QLabel(QStringLiteral("T27 Controller"), fra_splash_);
    title->setObjectName("lab_splash_title");
    QFont big = title->font();
    big.setPointSize(big.pointSize() * 3);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    title->setGeometry(0, fra_splash_->height() / 3, fra_splash_->width(), 80);
    auto* hint = new QLabel(QStringLiteral("HDMI analyser, pattern generator and cable tester.\n"
                                           "Open the link above, then choose a tab."),
                            fra_splash_);
    hint->setObjectName("lab_splash_hint");
    hint->setAlignment(Qt::AlignCenter);
    hint->setGeometry(0, fra_splash_->height() / 3 + 90, fra_splash_->width(), 60);
}

TabPage* MainWindow::page(int tab) const {
    if (tab < 0 || tab >= tab_count) return nullptr;
    return pages_[static_cast<std::size_t>(tab)];
}

bool MainWindow::polling_tab() const {
    return state_.current_tab == tab_monitor || state_.current_tab == tab_cable;
}

void MainWindow::show_tab_frame(int tab, bool on) {
    if (tab < 0 || tab >= tab_count) return;
    fra_main_[static_cast<std::size_t>(tab)]->setVisible(on);
}

void MainWindow::set_pending_handler(int code, std::function<void()> fn) {
    if (code >= 0 && code < static_cast<int>(pending_handlers_.size()))
        pending_handlers_[static_cast<std::size_t>(code)] = std::move(fn);
}

void MainWindow::set_button_colour(QPushButton* b, Colour c) {
    QPalette p = b->palette();
    p.setColor(QPalette::Button, to_qcolor(c));
    b->setPalette(p);
    b->setAutoFillBackground(true);
    b->setProperty("t27_colour", static_cast<uint>(c));
    b->setStyleSheet(QStringLiteral("background-color: %1;").arg(to_qcolor(c).name()));
}

void MainWindow::set_picture(ClickLabel* l, const char* file) {
    const QString path = shipped_dir_ + QStringLiteral("/bmp/") + QString::fromLatin1(file);
    l->setProperty("t27_picture", QString::fromLatin1(file));
    QPixmap pm(path);
    if (pm.isNull())
        l->setText(QString::fromLatin1(file));
    else
        l->setPixmap(pm.scaled(l->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void MainWindow::focus_neutral() { cmd_focus_->setFocus(); }

// ---- discovery and the secondary windows ------------------------------------------------------

void MainWindow::set_discovery_targets(const DiscoveryTargets& targets) {
    fra_discovery_->set_targets(targets);
}

void MainWindow::cmd_eth_find_Click() {
    if (fra_discovery_->isVisible()) {
        fra_discovery_->hide();
        cmd_eth_refresh_->setEnabled(false);
        return;
    }
    fra_discovery_->show();
    fra_discovery_->raise();
    cmd_eth_refresh_->setEnabled(true);
    fra_discovery_->start_search();
    tim_clock_go(1, 1);
}

void MainWindow::cmd_eth_refresh_Click() {
    fra_discovery_->start_search();
    tim_clock_go(1, 1);
}

void MainWindow::lstv_discovery_DblClick(const QString& ip) {
    txt_eth_ip_->setText(ip);
    if (!ip_check()) return;
    reconnect_to_saved_ip();
    cmd_eth_refresh_->setEnabled(false);
    fra_discovery_->hide();
}

void MainWindow::lab_monitor_eye_cmd_Click() {
    if (monitor_) {
        monitor_->close();
    } else {
        monitor_ = new CommandMonitor(engine_, state_, pump_, this);
        monitor_->show();
    }
    // Click feedback: the frame blinks off for a moment.
    sha_eye_frame_->hide();
    QTimer::singleShot(100, sha_eye_frame_, [f = sha_eye_frame_] { f->show(); });
}

void MainWindow::cmd_device_Click() {
#if defined(Q_OS_WIN)
    // Windows has its own overview of the serial devices: the device manager
    // under the Windows folder.
    const QString windir = qEnvironmentVariable("WINDIR", QStringLiteral("C:/Windows"));
    QDesktopServices::openUrl(
        QUrl::fromLocalFile(windir + QStringLiteral("/System32/devmgmt.msc")));
#else
    auto* dlg = new DeviceDialog(com_map(), this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dlg->open();
#endif
}

void MainWindow::img_about_Click() {
    auto* box = new AboutBox(this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

// ---- what the engine and the link sequence show -------------------------------------------

void MainWindow::show_message(const std::string& text, MessageIcon icon) {
    dialogs_.message(text, icon);
}

void MainWindow::set_link_label(const std::string& caption, Colour c) {
    lab_link_->setText(to_qt(caption));
    lab_link_->setProperty("t27_colour", static_cast<uint>(c));
    lab_link_->setStyleSheet(
        QStringLiteral("color: %1; font-weight: bold;").arg(to_qcolor(c).name()));
}

void MainWindow::set_activity(bool visible, int position) {
    shape_link_->move(twips_to_px(position), shape_link_->y());
    shape_link_->setVisible(visible);
}

void MainWindow::monitor_log_changed(const std::string& log) {
    if (monitor_) monitor_->log_changed(log);
}

void MainWindow::monitor_log_cleared() {
    if (monitor_) monitor_->log_cleared();
}

void MainWindow::set_link_enabled(bool on) { lab_link_->setEnabled(on); }
void MainWindow::set_model_caption(const std::string& text) {
    model_answered_ = true;
    lab_model_->setText(to_qt(text));
}
void MainWindow::set_fw_caption(const std::string& text) { lab_fw_ver_->setText(to_qt(text)); }
void MainWindow::set_edid_second_entry(const std::string& text) {
    edid_second_entry_ = text;
    if (on_edid_second_entry) on_edid_second_entry(text);
}
void MainWindow::load_catalogue(const std::string& file) {
    // A missing or damaged catalogue leaves what could be read (perhaps
    // nothing); the program carries on either way.
    LoadedCatalogue loaded = catalogue_load(places_, file);
    const bool same = file == state_.catalogue_file;
    // Ticks belong to the catalogue they were made in: they go to its own
    // file before another catalogue replaces it, and a re-link to the same
    // catalogue keeps them on screen.
    if (!same && !state_.catalogue_file.empty() && state_.favourites != favourites_loaded_) {
        std::string why;
        if (!favourites_save(places_.user, state_.catalogue_file, state_.favourites, &why))
            report_save_failure(why);
    }
    state_.catalogue_file = file;
    state_.current_pattern = 254;
    state_.catalogue = std::move(loaded.catalogue);
    if (!same) {
        state_.favourites = loaded.favourites;
        favourites_loaded_ = loaded.favourites;
    }
    for (TabPage* p : pages_)
        if (p) p->catalogue_changed();
}

}  // namespace t27
