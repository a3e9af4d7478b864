#pragma once
// The real main window with the Cable Test page, linked to a V4L unit in
// cable mode, for the widget and end-to-end tests.
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>

#include "cable/ui/cable_tab.h"
#include "tests/mainwin/window_fixture.h"

namespace t27::testing {

// A left click as the user makes it, so a disabled label ignores it.
inline void click(QWidget* w) {
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QCoreApplication::sendEvent(w, &release);
}

class CableWindowTest : public WindowTest {
  protected:
    // Opens the window on TCP to 127.0.0.1:`port`, links and waits for it.
    MainWindow& linked_window(quint16 port) {
        write_settings(1, "127.0.0.1", 1);
        MainWindow& w = open_window();
        page = new CableTab(w);
        EXPECT_TRUE(link_over_tcp(w, port));
        return w;
    }

    // Chooses the Cable Test tab and waits for a first poll cycle.
    void open_cable_tab() {
        find<QPushButton>("cmd_main_5")->click();
        ASSERT_TRUE(wait_until([&] { return !page->view().level.empty(); }));
        ASSERT_TRUE(wait_until([&] { return page->view().time_entry >= 0; }));
    }

    QLabel* label(const char* name) { return find<QLabel>(name); }
    QComboBox* time_list() { return find<QComboBox>("cbo_cable_time"); }
    QProgressBar* bar() { return find<QProgressBar>("pbar_cable"); }
    uint border(const char* shape) { return find<QFrame>(shape)->property("t27_colour").toUInt(); }

    CableTab* page = nullptr;
};

}  // namespace t27::testing
