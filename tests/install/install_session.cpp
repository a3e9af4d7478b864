// One session of the window as an installed program runs it: the places
// decided from the installed bin folder, every page installed, closed as the
// user closes it. install_roundtrip.sh runs it between installs:
//   t27-install-session BIN tick   ticks the third timing and selects Ethernet
//   t27-install-session BIN show   only opens the Output Resolution tab and closes
// Both print what the window found: where its files are, the first timing's
// name, the favourite timing slots in use and the interface.
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTreeWidget>
#include <cstdio>
#include <string>

#include "app/install_pages.h"
#include "settings/qt/program_places.h"
#include "mainwin/main_window.h"
#include "tests/support/recording_dialogs.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: t27-install-session BIN tick|show\n", stderr);
        return 64;
    }
    QApplication app(argc, argv);
    const std::string mode = argv[2];
    const t27::ProgramPlaces places =
        t27::program_places(QString(), QString::fromLocal8Bit(argv[1]));
    t27::testing::RecordingDialogs dialogs;
    t27::MainWindow window(places, dialogs);
    t27::install_pages(window);
    window.form_load();
    window.findChild<QPushButton*>(QStringLiteral("cmd_main_%1").arg(t27::tab_timing))->click();
    auto* timings = window.findChild<QTreeWidget*>(QStringLiteral("lstv_timing"));
    if (!timings || timings->topLevelItemCount() < 3) {
        std::fputs("no timing list\n", stderr);
        return 1;
    }
    if (mode == "tick") {
        timings->topLevelItem(2)->setCheckState(0, Qt::Checked);
        window.findChild<QComboBox*>(QStringLiteral("cbo_interface"))->setCurrentIndex(1);
        window.cbo_interface_Click();
    }
    std::printf("shipped=%s\nuser=%s\n", places.shipped.c_str(), places.user.c_str());
    std::printf("timing1=%s\n", timings->topLevelItem(0)->text(0).toUtf8().constData());
    std::string favourites;
    for (int slot : window.state().favourites.fav_timing)
        if (slot != 254) favourites += std::to_string(slot) + " ";
    std::printf("favourite_timings=%s\n", favourites.c_str());
    std::printf("interface=%d\n", window.link().link_interface);
    window.close();
    for (const std::string& m : dialogs.messages) std::printf("message=%s\n", m.c_str());
    return dialogs.messages.empty() ? 0 : 1;
}
