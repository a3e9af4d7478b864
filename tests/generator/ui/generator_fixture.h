#pragma once
// The main window with the generator's pages, linked over loopback TCP to
// the unit model served from inside the test.
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <string>

#include "generator/ui/panel_tab.h"
#include "generator/ui/pattern_tab.h"
#include "generator/ui/timing_tab.h"
#include "tests/mainwin/window_fixture.h"
#include "tests/support/qt_sim_server.h"

namespace t27::testing {

inline uint colour_of(QWidget* w) { return w->property("t27_colour").toUInt(); }

class GeneratorTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        sim::add_generator_handlers(model.handlers(), T27_DATA_DIR);
        // The shipped favourites hold examples; every test starts without any.
        QByteArray none;
        for (int k = 0; k < 36; ++k) none += "254\r\n";
        for (const char* f : {"v4", "v4l", "v4l_t_old", "v4l_t_new", "v5"})
            write_file(QStringLiteral("%1_timing_pattern_fav.ini").arg(f), none);
    }

    // The window as the program builds it: pages first, then start-up.
    MainWindow& open_with_pages() {
        write_settings(1, "127.0.0.1", 1);
        window = std::make_unique<MainWindow>(dir.path(), dialogs);
        timing = new TimingTab(*window);
        pattern = new PatternTab(*window);
        panel = new PanelTab(*window);
        window->form_load();
        return *window;
    }

    MainWindow& linked_window() {
        EXPECT_TRUE(server.listen());
        MainWindow& w = open_with_pages();
        EXPECT_TRUE(link_over_tcp(w, server.port()));
        return w;
    }

    // Chooses a tab as the user does; its read-back has run on return.
    void choose_tab(int tab) {
        find<QPushButton>(QStringLiteral("cmd_main_%1").arg(tab).toLatin1().constData())->click();
        ASSERT_TRUE(wait_until([&] { return !window->link().cmdtx_busy; }));
    }

    // What the program sent from now on.
    std::size_t mark() const { return server.wire().size(); }
    std::string sent_since(std::size_t m) const { return server.wire().substr(m); }

    QPushButton* button(const char* base, int i) {
        return find<QPushButton>(QStringLiteral("%1_%2").arg(base).arg(i).toLatin1().constData());
    }

    QtSimServer server{model};
    TimingTab* timing = nullptr;
    PatternTab* pattern = nullptr;
    PanelTab* panel = nullptr;
};

}  // namespace t27::testing
