#pragma once
// The "Output Resolution" tab: the timing list with its favourites, the name
// of the timing being output, and the 4K down-scaling frame of the V4L family.
#include <QFrame>
#include <QLabel>
#include <QRadioButton>
#include <QWidget>
#include <array>

#include "generator/favourite_row.h"
#include "mainwin/main_window.h"
#include "mainwin/tab_page.h"

namespace t27 {

class TimingTab : public QWidget, public TabPage {
  public:
    explicit TimingTab(MainWindow& window);

    // TabPage
    void selected() override;
    void read_back() override;
    void catalogue_changed() override;

    // Handlers, named after their controls.
    void lstv_timing_DblClick(int n);
    void cmd_timing_Click(int k);
    void lstv_timing_out_get();
    void downscale_read();
    void downscale_set(int option);

    FavouriteRow& row() { return *row_; }

  private:
    // Sends "$timing n"; on acceptance shows entry n as the output.
    void output_timing(int n);
    bool read_back_allowed() const;

    MainWindow& window_;
    FavouriteRow* row_;
    QLabel* lab_reso_out_now_;
    QFrame* fra_reso_out_v4l_;
    std::array<QRadioButton*, 3> opt_4k_to_1080p_{};
};

}  // namespace t27
