#include "analyser/ui/label_updates.h"

#include "common/qt/qt_text.h"
#include "common/ui/qt_colour.h"

namespace t27 {

void set_monitor_colour(QLabel* label, Colour c) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, to_qcolor(c));
    label->setPalette(p);
    label->setProperty("t27_colour", static_cast<uint>(c));
}

void apply_monitor_updates(const MonitorLabels& labels, const DisplayUpdates& updates) {
    for (const TextUpdate& t : updates.texts) {
        auto it = labels.find(t.control);
        if (it != labels.end()) it->second->setText(to_qt(t.text));
    }
    for (const ColourUpdate& c : updates.colours) {
        auto it = labels.find(c.control);
        if (it != labels.end()) set_monitor_colour(it->second, c.colour);
    }
}

}  // namespace t27
