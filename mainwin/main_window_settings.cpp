#include "mainwin/main_window.h"

#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>

#include "common/qt/qt_text.h"
#include "common/twips.h"
#include "mainwin/main_window_parts.h"
#include "settings/program_dir.h"
#include "settings/settings.h"
#include "settings/settings_save.h"
#include "settings/window_placement.h"

namespace t27 {

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

}  // namespace t27
