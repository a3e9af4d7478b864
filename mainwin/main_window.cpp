#include "mainwin/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QScreen>
#include <iostream>
#if defined(Q_OS_WIN)
#include <QDesktopServices>
#include <QUrl>
#endif

#include "common/atomic_write.h"
#include "common/qt_text.h"
#include "common/qt_widgets.h"
#include "common/twips.h"
#include "generator/catalogue_load.h"
#include "generator/program_dir.h"
#include "generator/settings.h"
#include "generator/settings_save.h"
#include "generator/window_placement.h"
#include "mainwin/about_box.h"
#include "mainwin/device_dialog.h"
#include "mainwin/popup_combo.h"
#include "protocol/command_table.h"
#include "protocol/ip_check.h"
#include "protocol/serial_ports.h"

namespace t27 {

namespace {

constexpr int window_width_twips = 11580;
constexpr int window_height_twips = 10740;
constexpr int eth_connect_ms = 7000;
constexpr int eth_monitor_ms = 100;

const char* const tip_connect = "Click to connect unit";
const char* const tip_disconnect = "Click to disconnect unit";

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

// ---- start-up and shutdown -------------------------------------------------

void MainWindow::form_load() {
    state_ = MainState{};
    state_.window_loading = true;
    link_ = LinkState{};
    unit_ = UnitIdentity{};

    setWindowTitle(QStringLiteral("Torvex T27 Controller 2.18T"));
    cbo_interface_->clear();
    cbo_interface_->addItems({QStringLiteral("RS-232"), QStringLiteral("Ethernet")});

    shape_link_->move(twips_to_px(activity_start), shape_link_->y());

    cbo_com_->clear();
    for (int n = 1; n <= com_port_count; ++n) cbo_com_->addItem(QStringLiteral("COM%1:").arg(n));
    com_map_built_ = false;

    state_.clock_ticks = state_.clock_seconds = 0;
    state_.clock_action = 254;
    state_.clock_delay = 5;
    tim_clock_.start();

    const SettingsParse parsed = settings_load(places_.user);
    const Settings& s = parsed.settings;
    if (const std::optional<ScreenArea> area = screen_area()) {
        const WindowPosition pos =
            window_position_restored(s, *area, window_width_twips, window_height_twips);
        move(twips_to_px(static_cast<int>(pos.left)), twips_to_px(static_cast<int>(pos.top)));
    }
    state_.recent_files = s.recent;
    load_catalogue(default_catalogue_name.data());

    link_.ethernet_connected = false;
    state_.saved_ip = s.eth_ip;
    txt_eth_ip_->setText(to_qt(s.eth_ip));
    link_.com_port = s.com_port >= 1 && s.com_port <= com_port_count ? s.com_port : 1;
    cbo_com_->setCurrentIndex(link_.com_port - 1);
    cbo_com_Click();  // only records the number while loading
    cbo_interface_->setCurrentIndex(s.link_interface == interface_ethernet ? 1 : 0);
    cbo_interface_Click();

    set_link_label("Not Linked", colour::red);
    set_picture(img_refresh_, "refresh_off.bmp");
    set_picture(img_analyser_, "task_analyser_off.bmp");
    set_picture(img_pattern_, "task_pattern_off.bmp");
    set_picture(img_cable_test_, "task_cable_test_off.bmp");
    fra_splash_->show();

    show();
    pump_.process_events();
    focus_neutral();
    state_.window_loading = false;
}

void MainWindow::form_unload() {
    if (unloaded_) return;
    unloaded_ = true;
    link_.app_closing = true;
    if (monitor_) monitor_->close();
    for (QWidget* w : findChildren<QDialog*>()) w->close();
    tim_clock_.stop();
    pump_.process_events();
    tim_eth_.stop();
    pump_.process_events();
    tim_monitor_.stop();
    pump_.process_events();
    serial_.rx_timer().stop();
    pump_.process_events();
    serial_.close();
    tcp_.close();

    Settings s;
    s.link_interface = link_.link_interface;
    s.eth_ip = state_.saved_ip.empty() ? from_qt(txt_eth_ip_->text()) : state_.saved_ip;
    s.com_port = link_.com_port;
    if (const std::optional<ScreenArea> area = screen_area()) {
        const WindowPosition pos =
            window_position_saved(static_cast<long>(x()) * twips_per_pixel,
                                  static_cast<long>(y()) * twips_per_pixel, *area);
        s.has_position = true;
        s.left = pos.left;
        s.top = pos.top;
    }
    s.recent = state_.recent_files;
    // The program ends either way and each old file stays whole, but a
    // setting is never lost without a word.
    const SaveOutcome saved =
        settings_and_favourites_save(places_.user, s, state_.favourites, state_.catalogue_file);
    if (!saved.ok()) report_save_failure(saved.error);
}

std::optional<ScreenArea> MainWindow::screen_area() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return std::nullopt;
    const QRect geo = screen->availableGeometry();
    return ScreenArea{static_cast<long>(geo.left()) * twips_per_pixel,
                      static_cast<long>(geo.top()) * twips_per_pixel,
                      static_cast<long>(geo.width()) * twips_per_pixel,
                      static_cast<long>(geo.height()) * twips_per_pixel};
}

void MainWindow::closeEvent(QCloseEvent* e) {
    form_unload();
    e->accept();
}

// ---- interface and serial port ----------------------------------------------

const ComMap& MainWindow::com_map() {
    // Asking the system for its serial ports takes a noticeable part of
    // start-up, so it waits until a COM number is first used.
    if (!com_map_built_) refresh_com_map();
    return com_map_;
}

void MainWindow::refresh_com_map() {
    // Asked again whenever the list opens, so an adapter plugged in since
    // shows up; devices that stayed keep their numbers.
    com_map_ = system_com_map(program_path(places_.user, com_map_file_name),
                              com_map_built_ ? &com_map_ : nullptr);
    com_map_built_ = true;
    for (int n = 1; n <= com_port_count && n <= cbo_com_->count(); ++n) {
        const std::string& dev = com_map_.device_for(n);
        cbo_com_->setItemData(n - 1, dev.empty() ? QStringLiteral("no device") : to_qt(dev),
                              Qt::ToolTipRole);
    }
}

bool MainWindow::transport_open() const {
    if (link_.link_interface == interface_rs232) return serial_.is_open() && link_.serial_open;
    return tcp_.connected() && link_.ethernet_connected;
}

void MainWindow::cbo_interface_Click() {
    link_.link_interface =
        cbo_interface_->currentIndex() == 0 ? interface_rs232 : interface_ethernet;
    const bool rs232 = link_.link_interface == interface_rs232;
    if (rs232) {
        eth_connect(false);
        cmd_eth_open_->setEnabled(false);
        set_button_colour(cmd_eth_open_, colour::grey);
        cmd_eth_open_->setToolTip(QString());
        cmd_rs232_open_->setEnabled(true);
        set_button_colour(cmd_rs232_open_, colour::red);
        cmd_rs232_open_->setToolTip(tip_connect);
        cbo_com_->setEnabled(true);
    } else {
        if (link_.serial_open) {
            link_.serial_open = false;
            serial_.close();
        }
        cmd_rs232_open_->setEnabled(false);
        set_button_colour(cmd_rs232_open_, colour::grey);
        cmd_rs232_open_->setToolTip(QString());
        cmd_eth_open_->setEnabled(true);
        set_button_colour(cmd_eth_open_, colour::red);
        cmd_eth_open_->setToolTip(tip_connect);
        cmd_eth_refresh_->setEnabled(false);
    }
    for (QWidget* w :
         {static_cast<QWidget*>(cmd_rs232_open_), static_cast<QWidget*>(cbo_com_),
          static_cast<QWidget*>(lab_rs232_protocol_), static_cast<QWidget*>(cmd_device_)})
        w->setVisible(rs232);
    for (QWidget* w : {static_cast<QWidget*>(cmd_eth_open_), static_cast<QWidget*>(lab_ip_),
                       static_cast<QWidget*>(cmd_eth_find_),
                       static_cast<QWidget*>(cmd_eth_refresh_), static_cast<QWidget*>(txt_eth_ip_)})
        w->setVisible(!rs232);
    if (rs232) fra_discovery_->hide();
    if (!state_.window_loading) focus_neutral();
}

void MainWindow::comport_set() {
    set_button_colour(cmd_rs232_open_, colour::yellow);
    pump_.process_events();
    if (link_.serial_open) serial_.close();
    QString why;
    const QString device = to_qt(com_map().device_for(link_.com_port));
    if (serial_.open(device, &why)) {
        link_.serial_open = true;
        set_button_colour(cmd_rs232_open_, colour::green);
        cmd_rs232_open_->setToolTip(tip_disconnect);
        pump_.process_events();
        return;
    }
    // A port that is there but may not be opened is the usual first meeting
    // with a serial adapter on Linux: the message names the fix.
    std::string text = "RS-232 can not work on COM" + std::to_string(link_.com_port) + ": !";
    const std::string hint = serial_permission_hint(from_qt(device));
    if (!hint.empty()) text += "\n\n" + hint;
    dialogs_.message(text, MessageIcon::None);
    set_button_colour(cmd_rs232_open_, colour::red);
    cmd_rs232_open_->setToolTip(tip_connect);
    link_.serial_open = false;
    pump_.process_events();
}

void MainWindow::send_probe_and_refresh() {
    engine_.cmdtx_str("$boot?\r");
    if (link_.cmdrx_status != ReplyStatus::NoResponse) img_refresh_Click();
}

void MainWindow::cmd_rs232_open_Click() {
    cmd_rs232_open_->setEnabled(false);
    focus_neutral();
    pump_.process_events();
    if (link_.serial_open) {
        serial_.close();
    } else {
        comport_set();
        if (serial_.is_open()) send_probe_and_refresh();
    }
    ui_var_set();
    cmd_rs232_open_->setEnabled(link_.link_interface == interface_rs232);
}

void MainWindow::close_serial() {
    serial_.close();
    pump_.process_events();
    link_.serial_open = false;
}

void MainWindow::cbo_com_Click() {
    link_.com_port = cbo_com_->currentIndex() + 1;
    if (state_.window_loading) return;
    cbo_com_->setEnabled(false);
    focus_neutral();
    pump_.process_events();
    if (link_.serial_open) close_serial();
    comport_set();
    if (serial_.is_open()) send_probe_and_refresh();
    ui_var_set();
    cbo_com_->setEnabled(true);
}

// ---- Ethernet ------------------------------------------------------------------

bool MainWindow::ip_check() {
    const IpEntryUpdate u =
        ip_entry_check(from_qt(txt_eth_ip_->text()), state_.saved_ip, link_.ethernet_connected);
    txt_eth_ip_->setText(to_qt(u.entry_text));
    state_.saved_ip = u.saved_ip;
    if (!u.ok) dialogs_.message("Wrong IP address.", MessageIcon::Error);
    return u.ok;
}

void MainWindow::eth_connect(bool on) {
    if (!on) {
        tim_eth_.stop();
        tcp_.close();
        link_.ethernet_connected = false;
        tim_eth_.setInterval(eth_connect_ms);
        set_button_colour(cmd_eth_open_, colour::red);
        cmd_eth_open_->setToolTip(tip_connect);
        return;
    }
    // A poll tick inside the connection's set-up would write on a socket
    // being closed and reopened.
    tim_monitor_.stop();
    pump_.process_events();
    tcp_.close();
    set_button_colour(cmd_eth_open_, colour::yellow);
    if (link_.app_closing) return;
    tim_eth_.start();
    tcp_.connect_to(to_qt(state_.saved_ip), unit_port_);
}

void MainWindow::cmd_eth_open_Click() {
    if (!link_.ethernet_connected) {
        if (ip_check()) {
            eth_connect(true);
            // The connect event arrives later, so the flag is still clear here
            // and the connection is started once more.
            if (!link_.ethernet_connected) eth_connect(true);
        }
    } else {
        eth_connect(false);
    }
    ui_var_set();
    focus_neutral();
}

void MainWindow::reconnect_to_saved_ip() {
    eth_connect(false);
    wait_seconds(pump_, 0.5);
    eth_connect(true);
    wait_seconds(pump_, 0.5);
    // The connect event may still be on its way; start once more if so.
    if (!link_.ethernet_connected) eth_connect(true);
    ui_var_set();
}

void MainWindow::txt_eth_ip_Enter() {
    if (!ip_check()) return;
    txt_eth_ip_->setEnabled(false);
    pump_.process_events();
    reconnect_to_saved_ip();
    txt_eth_ip_->setEnabled(true);
    txt_eth_ip_->setFocus();
}

void MainWindow::wsk_client_Connect() {
    link_.ethernet_connected = true;
    auto_link_stopped_ = false;  // a new connection may be another unit
    tim_eth_.setInterval(eth_monitor_ms);
    set_button_colour(cmd_eth_open_, colour::green);
    cmd_eth_open_->setToolTip(tip_disconnect);
    unit_.model_family = not_known;  // whoever answers must be identified again
    state_.clock_seconds = 0;
    if (state_.current_tab == tab_monitor)
        if (TabPage* p = page(tab_monitor)) p->form_set();
}

void MainWindow::wsk_client_Close() {
    if (reconnecting_) return;
    reconnecting_ = true;
    eth_connect(true);
    wait_seconds(pump_, 0.5);
    reconnecting_ = false;
    if (!tcp_.connected()) {
        eth_connect(false);
        dialogs_.message("Ethernet is disconnected !!", MessageIcon::Error);
    }
    ui_var_set();
}

void MainWindow::tim_eth_Timer() {
    if (reconnecting_) return;
    if (link_.app_closing) {
        tim_eth_.stop();
        pump_.process_events();
        return;
    }
    pump_.process_events();
    // A close handled among those events has already tried again and told
    // the user, and stopped this timer: this tick is stale, and going on
    // would report a lost peer as one that was never found.
    if (!tim_eth_.isActive()) return;
    if (link_.ethernet_connected) {
        if (!tcp_.connected()) {
            tim_eth_.stop();
            reconnecting_ = true;
            eth_connect(true);
            wait_seconds(pump_, 0.5);
            reconnecting_ = false;
            if (!tcp_.connected()) {
                eth_connect(false);
                dialogs_.message("Ethernet is disconnected !", MessageIcon::Error);
                ui_var_set();
            }
        }
        return;
    }
    tim_eth_.stop();
    dialogs_.message("Client could not find Server.", MessageIcon::Error);
    if (tcp_.socket().state() != QAbstractSocket::UnconnectedState) tcp_.close();
    set_button_colour(cmd_eth_open_, colour::red);
    cmd_eth_open_->setToolTip(tip_connect);
}

// ---- clock ---------------------------------------------------------------------------

void MainWindow::tim_clock_Timer() {
    tim_clock_.stop();
    if (++state_.clock_ticks > 65530) state_.clock_ticks = 0;
    if (state_.clock_ticks % 10 == 0) {
        if (++state_.clock_seconds > 65535) state_.clock_seconds = 0;
        // Watchdog: a serial adapter pulled out shows up as a port that can no
        // longer be queried; close it quietly.
        if (link_.serial_open && serial_.rx_count() < 0) {
            close_serial();
            ui_var_set();
        }
    }
    if (unit_.model_family == not_known && link_.ethernet_connected && !auto_link_stopped_) {
        pump_.process_events();
        img_refresh_Click();
        // A unit that answers with a model this program does not know would
        // be asked again every tick, each time with a message box; it has been
        // told once, and the next connection or the user's own Link or
        // Refresh tries again.
        if (unit_.model_family == not_known && model_answered_) auto_link_stopped_ = true;
    }
    if (link_.app_closing) return;
    tim_clock_.start();
    pump_.process_events();
    if (state_.clock_action != 254 && state_.clock_seconds >= state_.clock_delay) {
        const int action = state_.clock_action;
        state_.clock_action = 254;
        if (action == 1) fra_discovery_->repeat_if_due();
    }
}

void MainWindow::tim_clock_go(int type, int delay_seconds) {
    state_.clock_action = type;
    state_.clock_delay = delay_seconds;
    state_.clock_ticks = 0;
    state_.clock_seconds = 0;
}

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

// ---- link and refresh ------------------------------------------------------------------

void MainWindow::lab_link_Click() {
    if (defer(pending_link)) return;
    model_answered_ = false;
    link_sequence(engine_, *this);
}

void MainWindow::img_refresh_Click() {
    if (defer(pending_refresh)) return;
    model_answered_ = false;
    state_.refresh_mark = true;
    img_refresh_->setEnabled(false);
    set_picture(img_refresh_, "refresh_busy.bmp");
    pump_.process_events();
    if (state_.current_tab == tab_monitor) {
        tim_monitor_.stop();
        pump_.process_events();
    }
    link_sequence(engine_, *this);
    if (link_.cmdrx_status == ReplyStatus::Accepted)
        if (TabPage* p = page(state_.current_tab)) p->read_back();
    if (polling_tab()) {
        tim_monitor_.start();
        pump_.process_events();
    }
    set_picture(img_refresh_, "refresh_on.bmp");
    img_refresh_->setEnabled(true);
    state_.refresh_mark = false;
}

void MainWindow::ui_var_set() {
    const bool rs232 = link_.link_interface == interface_rs232;
    const bool open = rs232 ? serial_.is_open() : link_.ethernet_connected;
    if (open) {
        if (rs232) {
            link_.serial_open = true;
            set_button_colour(cmd_rs232_open_, colour::green);
            cmd_rs232_open_->setToolTip(tip_disconnect);
        } else {
            set_button_colour(cmd_eth_open_, colour::green);
            cmd_eth_open_->setToolTip(tip_disconnect);
        }
        if (!state_.refresh_mark) set_picture(img_refresh_, "refresh_on.bmp");
    } else {
        if (rs232) {
            link_.serial_open = false;
            set_button_colour(cmd_rs232_open_, colour::red);
            cmd_rs232_open_->setToolTip(tip_connect);
        } else if (!tim_eth_.isActive()) {
            set_button_colour(cmd_eth_open_, colour::red);
            cmd_eth_open_->setToolTip(tip_connect);
        }
        set_picture(img_refresh_, "refresh_off.bmp");
    }
    const int task = open ? unit_.task_mode : not_known;
    set_picture(img_analyser_,
                task == task_analyser ? "task_analyser_on.bmp" : "task_analyser_off.bmp");
    set_picture(img_pattern_,
                task == task_pattern ? "task_pattern_on.bmp" : "task_pattern_off.bmp");
    set_picture(img_cable_test_,
                task == task_cable ? "task_cable_test_on.bmp" : "task_cable_test_off.bmp");

    const int tab = state_.current_tab;
    if (cable_task_offered(unit_.model_family)) {
        img_cable_test_->setVisible(true);
        cmd_main_[tab_cable]->setVisible(true);
        const bool cable = cable_task_only(unit_.model_family, unit_.task_mode);
        // In cable mode the unit does nothing else, so only its tab stays open.
        for (int i = 0; i < tab_cable; ++i)
            cmd_main_[static_cast<std::size_t>(i)]->setEnabled(!cable);
        cmd_main_[tab_cable]->setEnabled(cable);
        if (cable) {
            if (tab == tab_cable)
                show_tab_frame(tab_cable, true);
            else
                show_tab_frame(tab, false);
        } else {
            if (tab == tab_cable)
                show_tab_frame(tab_cable, false);
            else
                show_tab_frame(tab, true);
        }
    } else {
        img_cable_test_->setVisible(false);
        cmd_main_[tab_cable]->setVisible(false);
        fra_main_[tab_cable]->setVisible(false);
        // A unit without cable mode may follow one that was in it.
        for (int i = 0; i < tab_cable; ++i)
            cmd_main_[static_cast<std::size_t>(i)]->setEnabled(true);
        if (tab != 254 && tab != tab_cable) show_tab_frame(tab, true);
    }
    for (TabPage* p : pages_)
        if (p) p->link_state_changed();
}

// ---- tabs, task modes and the poll loop ------------------------------------------------------

bool MainWindow::defer(int code) {
    if (!link_.cmdtx_busy && !state_.poll_busy) return false;
    state_.pending_action = code;  // a later deferral replaces an earlier one
    // Only the polling tabs have a poll tick to carry the action out; on the
    // others it would wait, unseen, until the user happened to open one.
    if (!polling_tab()) tim_pending_.start();
    return true;
}

void MainWindow::take_pending_action() {
    const int code = state_.pending_action;
    state_.pending_action = none_pending;
    run_pending_action(code);
}

void MainWindow::tim_pending_Timer() {
    if (link_.app_closing || state_.pending_action == none_pending || polling_tab()) return;
    if (link_.cmdtx_busy || state_.poll_busy) {
        tim_pending_.start();
        return;
    }
    take_pending_action();
}

void MainWindow::set_poll_list(std::vector<int> list) {
    state_.poll_list = std::move(list);
    state_.poll_pos = 0;
}

void MainWindow::cmd_main_Click(int index) {
    if (index < 0 || index >= tab_count) return;
    tim_monitor_.stop();
    pump_.process_events();
    state_.poll_busy = false;
    link_.quiet_transaction = false;
    if (state_.current_tab == 254) {
        fra_splash_->hide();
    } else {
        set_button_colour(cmd_main_[static_cast<std::size_t>(state_.current_tab)],
                          colour::light_grey);
        show_tab_frame(state_.current_tab, false);
    }
    state_.current_tab = index;
    set_button_colour(cmd_main_[static_cast<std::size_t>(index)], colour::orange);
    if (monitor_) monitor_->monitor_pause_set();
    if (on_tab_changed) on_tab_changed();
    const auto i = static_cast<std::size_t>(index);
    if (!pages_[i] && page_builders_[i]) page_builders_[i]();
    if (TabPage* p = page(index)) p->selected();
    show_tab_frame(index, true);
    pump_.process_events();

    const bool open = link_.link_interface == interface_rs232
                          ? serial_.is_open() && link_.serial_open
                          : tcp_.connected() && link_.ethernet_connected;
    if (open) {
        engine_.cmdtx_str("$boot?\r");
        img_refresh_Click();
    }
}

void MainWindow::cmd_task_mode_set(const std::string& task) {
    const int code = task == "analyser"  ? pending_task_analyser
                     : task == "pattern" ? pending_task_pattern
                                         : pending_task_cable;
    if (defer(code)) return;
    if (polling_tab()) {
        tim_monitor_.stop();
        pump_.process_events();
    }
    if (task_mode_set(engine_, task)) {
        ui_var_set();
        if (state_.current_tab == tab_timing || state_.current_tab == tab_pattern)
            if (TabPage* p = page(state_.current_tab)) p->read_back();
    }
    if ((unit_.task_mode == task_analyser || unit_.task_mode == task_pattern) &&
        state_.current_tab == tab_panel)
        if (TabPage* p = page(tab_panel)) p->read_back();
    if (state_.current_tab == tab_monitor) {
        if (TabPage* p = page(tab_monitor)) p->form_set();
        tim_monitor_.start();
    } else if (state_.current_tab == tab_cable && unit_.task_mode == task_cable) {
        tim_monitor_.start();
    }
}

void MainWindow::tim_monitor_Timer() {
    state_.poll_busy = true;
    tim_monitor_.stop();
    pump_.process_events();

    const bool open =
        link_.link_interface == interface_rs232 ? serial_.is_open() : link_.ethernet_connected;
    const int tab = state_.current_tab;
    if (open && unit_.model_family != not_known && !link_.cmdtx_busy &&
        state_.poll_pos < static_cast<int>(state_.poll_list.size())) {
        link_.quiet_transaction = true;
        const int entry = state_.poll_list[static_cast<std::size_t>(state_.poll_pos)];
        engine_.cmdtx_str(command_text(entry) + "\r");
        if (link_.cmdrx_status == ReplyStatus::Accepted)
            if (TabPage* p = page(tab)) p->poll_reply(entry);
        if (++state_.poll_pos >= static_cast<int>(state_.poll_list.size())) state_.poll_pos = 0;
    }

    link_.quiet_transaction = false;
    if (state_.pending_action != none_pending && !link_.cmdtx_busy && polling_tab()) {
        state_.poll_busy = false;
        take_pending_action();
        if (TabPage* p = page(state_.current_tab)) p->rebuild_poll_list();
    }

    if (!link_.app_closing && polling_tab()) {
        if (!poll_allowed || poll_allowed()) tim_monitor_.start();
        pump_.process_events();
        state_.poll_busy = false;
    }
}

void MainWindow::run_pending_action(int code) {
    switch (code) {
        case pending_link:
            lab_link_Click();
            return;
        case pending_refresh:
            img_refresh_Click();
            return;
        case pending_task_analyser:
            cmd_task_mode_set("analyser");
            return;
        case pending_task_pattern:
            cmd_task_mode_set("pattern");
            return;
        case pending_task_cable:
            cmd_task_mode_set("cable");
            return;
        default:
            break;
    }
    if (code >= 0 && code < static_cast<int>(pending_handlers_.size()))
        if (const auto& fn = pending_handlers_[static_cast<std::size_t>(code)]) fn();
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
