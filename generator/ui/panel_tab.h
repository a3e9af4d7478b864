#pragma once
// The "Control Panel" tab: one button per setting value, in labelled rows;
// the button of each row that matches the unit's value is lit.
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <vector>

#include "generator/panel_buttons.h"
#include "generator/panel_groups.h"
#include "generator/panel_press.h"
#include "mainwin/main_window.h"
#include "mainwin/tab_page.h"

namespace t27 {

class PanelTab : public QWidget, public TabPage {
  public:
    explicit PanelTab(MainWindow& window);

    // TabPage
    void read_back() override;

    // Handlers, named after their controls.
    void cmd_panel_Click(int index);
    void panel_read_all();

    const PanelFlags& flags() const { return flags_; }
    int pending_panel_index() const { return pending_panel_index_; }
    // The button with this index, or null for an index without one.
    QPushButton* button(int index) const;

  private:
    void apply(const PanelUpdate& update);
    // What the shared request code paints goes onto these buttons.
    PanelApply applier();
    void apply_visibility();
    void lay_out();
    bool confirmed(int index);

    MainWindow& window_;
    std::array<QPushButton*, panel_button_count> cmd_panel_{};
    struct Row {
        QLabel* label;  // null for the system buttons
        std::span<const int> buttons;
        int column;
    };
    std::vector<Row> rows_;
    PanelFlags flags_;
    int pending_panel_index_ = 254;
};

}  // namespace t27
