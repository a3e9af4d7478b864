#pragma once
// The "Output Resolution" tab: the timing list with its favourites, the name
// of the timing being output, and the 4K down-scaling frame of the V4L family.
#include <QFrame>
#include <QLabel>
#include <QRadioButton>
#include <QWidget>
#include <array>

#include "generator/ui/favourite_row.h"
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
    // Selects entry n and outputs it, with the list (and button b) disabled
    // while the request waits.
    void output_from_list(int n, QPushButton* b);
    // Ticks the down-scaling option the unit has (none for -1).
    void downscale_show(int option);
    bool read_back_allowed() const;

    MainWindow& window_;
    FavouriteRow* row_;
    QLabel* lab_reso_out_now_;
    QFrame* fra_reso_out_v4l_;
    std::array<QRadioButton*, 3> opt_4k_to_1080p_{};
    int downscale_unit_ = -1;  // the option the unit last confirmed, -1 unknown
    int deferred_timing_ = 0;  // choices a busy line held back
    int deferred_downscale_ = -1;
};

}  // namespace t27
