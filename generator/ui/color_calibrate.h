#pragma once
// The "Color Setting" window: level of the seven solid colours, or the red,
// green and blue values of the user colour, of the unit's colour
// calibration pattern. Every change goes to the unit at once.
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <array>
#include <string>

#include "generator/calibration.h"
#include "mainwin/main_window.h"

namespace t27 {

class ColorCalibrate : public QDialog {
  public:
    explicit ColorCalibrate(MainWindow& window);

    // Opens the window modally over the main window (one at a time) and
    // loads it; returns the window.
    static ColorCalibrate* show_for(MainWindow& window);

    // Window load: placement, the colour list, then the unit's values.
    void form_load();

    // Handlers, named after their controls.
    void cbo_color_Click();
    void cmd_refresh_Click();
    void calibrate_values_read(int entry);
    void hsr_Change(CalComponent c);
    void txt_KeyPress(CalComponent c, int key);
    void txt_GotFocus(CalComponent c);

    bool calibrate_loading() const { return loading_; }

  private:
    struct Pair {
        QLineEdit* txt = nullptr;
        QScrollBar* hsr = nullptr;
        bool pending = false;  // a change that waits for the request before it
        std::string pending_value;
    };

    Pair& pair(CalComponent c) { return pairs_[static_cast<std::size_t>(c)]; }
    bool linked() const;
    void set_from_reply(CalComponent c, const std::string& value);
    void send_value(CalComponent c, const std::string& value);
    void send_pending();
    static void select_whole(QLineEdit* t);

    MainWindow& window_;
    QComboBox* cbo_color_;
    QPushButton* cmd_refresh_;
    std::array<Pair, 4> pairs_;
    bool loading_ = false;
    bool suppress_ = false;
    bool sending_ = false;
};

}  // namespace t27
