#pragma once
// fra_pre_f ("Previuos Files"): the ten most recent EDID files as labels
// lab_pre_f_0 ... lab_pre_f_9, the one under the mouse shown white on blue.
#include <QGroupBox>
#include <array>
#include <string>

#include "common/colours.h"
#include "edid/unit/window_text.h"
#include "mainwin/click_label.h"

namespace t27 {

inline constexpr Colour recent_hover_back = 16711680;  // blue
inline constexpr Colour recent_hover_text = 16777215;  // white

class RecentFrame : public QGroupBox {
    Q_OBJECT
  public:
    explicit RecentFrame(QWidget* parent);
    void set_entries(const RecentList& list);
    // Entry i under the mouse: highlighted, every other entry plain.
    void lab_pre_f_MouseMove(int i);
    ClickLabel* label(int i) const { return labels_.at(static_cast<std::size_t>(i)); }

  signals:
    void entry_clicked(int i);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::array<ClickLabel*, edid_recent_file_count> labels_{};
};

}  // namespace t27
