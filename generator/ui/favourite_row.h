#pragma once
// One catalogue list with check boxes and its 18 favourite buttons: the part
// the Output Resolution and Pattern tabs share. Ticks and slots are kept in
// step here; what a double click or a button click sends is the page's job.
#include <QObject>
#include <QPushButton>
#include <QTreeWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "generator/favourites.h"

namespace t27 {

struct FavouriteRowNames {
    const char* list;        // "lstv_timing"
    const char* header;      // "Timings"
    const char* buttons;     // "cmd_timing" (+ "_k")
    const char* check_none;  // "cmd_check_v_none"
};

class FavouriteRow : public QObject {
  public:
    FavouriteRow(QWidget* parent, const FavouriteRowNames& names, FavouriteSlots& fav_slots);

    QTreeWidget* list() const { return list_; }
    QPushButton* button(int k) const { return buttons_.at(static_cast<std::size_t>(k)); }
    QPushButton* check_none() const { return check_none_; }
    FavouriteSlots& fav_slots() { return slots_; }

    // Entries, ticks and captions afresh (a catalogue was loaded).
    void fill(const std::vector<std::string>& names);
    int count() const { return static_cast<int>(names_.size()); }
    // Name of entry n (1-based); empty outside the list.
    std::string name(int n) const;

    // Colours: the button whose slot holds n is lit.
    void highlight(int n);
    // Selects entry n without running the user's selection handling.
    void select(int n);
    // The selected entry (1-based), 0 for none.
    int selected() const;

    std::function<void(int n)> on_double_click;
    std::function<void(int k)> on_button;
    std::function<void(int n)> on_select;  // the user picked an entry

    // Handlers, named after their controls.
    void item_check(QTreeWidgetItem* item);
    void cmd_check_none_Click();

  private:
    void place();
    void show_captions();
    void set_tick(int n, bool on);

    FavouriteSlots& slots_;
    QTreeWidget* list_;
    std::array<QPushButton*, favourite_slots_used> buttons_{};
    QPushButton* check_none_;
    std::vector<std::string> names_;
    std::vector<bool> ticks_;  // what the handlers last saw, entry n at n - 1
    bool quiet_ = false;       // set while the program itself changes ticks or selection
};

}  // namespace t27
