#include "app/install_pages.h"

#include "cable/cable_tab.h"
#include "mainwin/main_window.h"

namespace t27 {

// Each page is a child of its tab's frame, so the window owns it; the page
// registers itself with set_page() and its deferred actions with
// set_pending_handler().
void install_pages(MainWindow& window) {
    (void)window;
    new CableTab(window);
}

}  // namespace t27
