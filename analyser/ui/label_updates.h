#pragma once
// Showing the analyser's decisions: (control, text) and (control, colour)
// updates applied to the labels they name.
#include <QLabel>
#include <string>
#include <unordered_map>

#include "analyser/display_update.h"

namespace t27 {

// Every label of the Monitor tab that the logic may address, by object name.
using MonitorLabels = std::unordered_map<std::string, QLabel*>;

// Text colour; also kept as the "t27_colour" property so tests can read it.
void set_monitor_colour(QLabel* label, Colour c);

// Names the index does not hold are skipped: a rule may address a control of
// another view, which simply is not there to change.
void apply_monitor_updates(const MonitorLabels& labels, const DisplayUpdates& updates);

}  // namespace t27
