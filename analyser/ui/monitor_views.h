#pragma once
// The five view frames of the Monitor tab, built once from the layout data:
// every caption and value label at its place. Laying a view out afresh and
// filling it are the tab's job (monitor_form_updates, decode_reply).
#include <QFrame>
#include <QGroupBox>
#include <array>

#include "analyser/analyser_state.h"
#include "analyser/ui/label_updates.h"
#include "common/ui/qt_widgets.h"

namespace t27 {

// Width and height of the area the view frames share.
inline constexpr int monitor_view_width_twips = 8880;
inline constexpr int monitor_view_height_twips = 7440;

struct MonitorViews {
    std::array<QFrame*, analyser_view_count> frames{};  // fra_monitor_0..4
    QGroupBox* unit_frame = nullptr;                    // fra_monitor_v4
    MonitorLabels labels;  // every value, caption and indicator label by name
};

// Builds the frames as children of `parent`, all hidden.
MonitorViews build_monitor_views(QWidget* parent);

}  // namespace t27
