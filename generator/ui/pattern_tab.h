#pragma once
// The "Pattern" tab: the pattern list with its favourites, the name of the
// pattern being output, the motion text of the scrolling patterns and the
// way into the colour calibration window on the unit variant that has it.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "generator/ui/favourite_row.h"
#include "mainwin/main_window.h"
#include "mainwin/tab_page.h"

namespace t27 {

class PatternTab : public QWidget, public TabPage {
  public:
    explicit PatternTab(MainWindow& window);

    // TabPage
    void selected() override;
    void read_back() override;
    void catalogue_changed() override;

    // Handlers, named after their controls.
    void lstv_pattern_DblClick(int n);
    void cmd_pattern_Click(int k);
    void lstv_pattern_Click();
    void txt_motion_text_KeyPress(int key);
    void lstv_pattern_out_get();
    void cmd_color_setting_Click();

    FavouriteRow& row() { return *row_; }

  private:
    bool variant() const;
    void output_pattern(int n);
    // Selects entry n and outputs it, with the list (and button b) disabled
    // while the request waits.
    void output_from_list(int n, QPushButton* b);
    void pattern_extras_show();

    MainWindow& window_;
    FavouriteRow* row_;
    QLabel* lab_pat_out_now_;
    QLabel* lab_motion_text_;
    QLineEdit* txt_motion_text_;
    QPushButton* cmd_color_setting_;
    int deferred_pattern_ = 0;  // the choice a busy line held back
};

}  // namespace t27
