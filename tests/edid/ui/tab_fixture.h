#pragma once
// The real main window with the EDID tab, linked over loopback TCP to the
// unit model served from inside the test.
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "edid/ui/edid_tab.h"
#include "tests/edid/unit/images.h"
#include "tests/mainwin/window_fixture.h"
#include "tests/support/qt_sim_server.h"

namespace t27::testing {

class EdidTabTest : public WindowTest {
  protected:
    // Opens the window with the EDID page, links it and shows the EDID tab,
    // whose refresh reads the slot names.
    MainWindow& linked() {
        EXPECT_TRUE(server.listen());
        write_settings(1, "127.0.0.1", 1);
        MainWindow& w = open_window();
        tab = new EdidTab(w);
        EXPECT_TRUE(link_over_tcp(w, server.port()));
        find<QAbstractButton>("cmd_main_0")->click();
        return w;
    }

    sim::EdidStore& store() { return model.state().edid; }
    void click(const char* name) { find<QAbstractButton>(name)->click(); }
    std::string text_of(const char* label) { return find<QLabel>(label)->text().toStdString(); }
    uint colour_of(const char* name) {
        return find<QWidget>(name)->property("t27_colour").toUInt();
    }
    bool shown(const char* name) { return find<QWidget>(name)->isVisible(); }
    void choose(const char* combo, int item) { find<QComboBox>(combo)->setCurrentIndex(item - 1); }
    std::string item_text(const char* combo, int item) {
        return find<QComboBox>(combo)->itemText(item - 1).toStdString();
    }
    std::string read_text() { return tab->panel(edid_read_side).text->text(); }
    std::string write_text() { return tab->panel(edid_write_side).text->text(); }
    std::string path(const char* name) { return dir.filePath(name).toStdString(); }
    std::size_t wire_count(const std::string& line) {
        std::size_t n = 0;
        for (std::size_t p = server.wire().find(line); p != std::string::npos;
             p = server.wire().find(line, p + 1))
            ++n;
        return n;
    }

    // Opens a file of these bytes into the WRITE side, as OPEN does.
    void open_into_write(const char* name, const std::string& bytes) {
        write_file(name, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
        dialogs.next_file = path(name);
        click("cmd_write_1");
    }

    QtSimServer server{model};
    EdidTab* tab = nullptr;
};

}  // namespace t27::testing
