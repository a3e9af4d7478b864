#pragma once

namespace t27 {

class MainWindow;

// Puts each subsystem's page into its tab of the main window.
void install_pages(MainWindow& window);

}  // namespace t27
