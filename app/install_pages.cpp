#include "app/install_pages.h"

#include "analyser/ui/monitor_tab.h"
#include "cable/ui/cable_tab.h"
#include "edid/ui/edid_tab.h"
#include "generator/ui/panel_tab.h"
#include "generator/ui/pattern_tab.h"
#include "generator/ui/timing_tab.h"
#include "mainwin/main_window.h"

namespace t27 {

// Each page is a child of its tab's frame, so the window owns it; the page
// registers itself with set_page() and its deferred actions with
// set_pending_handler(). Pages are built when their tab is first opened.
void install_pages(MainWindow& window) {
    MainWindow* w = &window;
    window.set_page_builder(tab_edid, [w] { (new EdidTab(*w))->show(); });
    window.set_page_builder(tab_timing, [w] { (new TimingTab(*w))->show(); });
    window.set_page_builder(tab_pattern, [w] { (new PatternTab(*w))->show(); });
    window.set_page_builder(tab_panel, [w] { (new PanelTab(*w))->show(); });
    window.set_page_builder(tab_monitor, [w] { (new MonitorTab(*w))->show(); });
    window.set_page_builder(tab_cable, [w] { (new CableTab(*w))->show(); });
}

}  // namespace t27
