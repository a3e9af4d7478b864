#include "app/install_pages.h"

#include "analyser/monitor_tab.h"
#include "cable/cable_tab.h"
#include "edid/edid_tab.h"
#include "generator/panel_tab.h"
#include "generator/pattern_tab.h"
#include "generator/timing_tab.h"
#include "mainwin/main_window.h"

namespace t27 {

// Each page is a child of its tab's frame, so the window owns it; the page
// registers itself with set_page() and its deferred actions with
// set_pending_handler().
void install_pages(MainWindow& window) {
    (void)window;
    new EdidTab(window);
    new TimingTab(window);
    new PatternTab(window);
    new PanelTab(window);
    new MonitorTab(window);
    new CableTab(window);
}

}  // namespace t27
