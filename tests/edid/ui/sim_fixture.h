#pragma once
// The real main window linked over 127.0.0.1 to t27-unit-sim running as its
// own process, with the EDID tab shown.
#include <QAbstractButton>

#include "edid/ui/edid_tab.h"
#include "tests/e2e/process_support.h"
#include "tests/mainwin/window_fixture.h"

namespace t27::testing {

class EdidSimProcessTest : public WindowTest {
  protected:
    // Call as ASSERT_NO_FATAL_FAILURE(link_to_sim()).
    void link_to_sim() {
        ASSERT_TRUE(sim.start({"--listen", "127.0.0.1:0", "--quiet"}));
        const std::size_t colon = sim.listen.rfind(':');
        ASSERT_NE(colon, std::string::npos);
        const auto port = static_cast<quint16>(std::stoi(sim.listen.substr(colon + 1)));
        write_settings(1, "127.0.0.1", 1);
        MainWindow& w = open_window();
        tab = new EdidTab(w);
        ASSERT_TRUE(link_over_tcp(w, port, 10000));
        find<QAbstractButton>("cmd_main_0")->click();
    }

    SimProcess sim;
    EdidTab* tab = nullptr;
};

}  // namespace t27::testing
