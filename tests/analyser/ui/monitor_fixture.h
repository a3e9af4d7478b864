#pragma once
// The main window with the Monitor tab installed, linked to the unit model
// served on loopback TCP.
#include <QLabel>
#include <QPushButton>
#include <string>

#include "analyser/ui/monitor_tab.h"
#include "tests/mainwin/window_fixture.h"
#include "tests/support/qt_sim_server.h"

namespace t27::testing {

class MonitorTest : public WindowTest {
  protected:
    // As the program does it: pages first, then the window loads.
    MainWindow& open_monitor_window() {
        window = std::make_unique<MainWindow>(dir.path(), dialogs);
        tab = new MonitorTab(*window);
        window->form_load();
        return *window;
    }

    MainWindow& linked_window() {
        EXPECT_TRUE(server.listen());
        write_settings(1, "127.0.0.1", 1);
        MainWindow& w = open_monitor_window();
        EXPECT_TRUE(link_over_tcp(w, server.port()));
        return w;
    }

    void click_tab(int n) {
        find<QPushButton>(QStringLiteral("cmd_main_%1").arg(n).toLatin1().constData())->click();
    }

    std::string text(const std::string& name) {
        auto* l = window->findChild<QLabel*>(QString::fromStdString(name));
        return l ? l->text().toStdString() : "<no " + name + ">";
    }
    uint colour(const std::string& name) {
        auto* l = window->findChild<QLabel*>(QString::fromStdString(name));
        return l ? l->property("t27_colour").toUInt() : 0xFFFFFFFFu;
    }
    bool wait_text(const std::string& name, const std::string& expected, int ms = 10000) {
        return wait_until([&] { return text(name) == expected; }, ms);
    }

    // What the model answers as the value of a query whose reply is
    // "item,value" (the EDID facts).
    std::string model_value(const std::string& request) {
        std::string line = model.handle_line(request).line;
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
        const std::size_t comma = line.find(',');
        return comma == std::string::npos ? "None" : line.substr(comma + 1);
    }

    QtSimServer server{model};
    MonitorTab* tab = nullptr;
};

}  // namespace t27::testing
