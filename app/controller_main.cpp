// t27-controller: the desktop program.
#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <cstdio>
#include <string>

#include "app/install_pages.h"
#include "settings/qt/program_places.h"
#include "common/version.h"
#include "mainwin/main_window.h"
#include "mainwin/qt_dialogs.h"

namespace {

// The desk program itself takes no options; these exist so a demo or an
// end-to-end test can reach a simulator on an unprivileged port and press the
// connect button the way a user would, and so a lab can point it at a folder
// of its own.
struct Options {
    QCommandLineOption port{QStringLiteral("unit-port"),
                            QStringLiteral("TCP port of the unit (default 23)."),
                            QStringLiteral("port"), QStringLiteral("23")};
    QCommandLineOption open{QStringLiteral("open"),
                            QStringLiteral("Open the saved interface after start-up, as the "
                                           "connect button does.")};
    QCommandLineOption dir{QStringLiteral("program-dir"),
                           QStringLiteral("Folder with the catalogue, settings and pictures; "
                                          "all files are read and written there (default: the "
                                          "executable's folder when it holds them and takes "
                                          "writes, else the installed files and the user's "
                                          "data folder)."),
                           QStringLiteral("dir")};
};

void set_up(QCommandLineParser& cli, Options& o) {
    QCoreApplication::setApplicationName(QStringLiteral("t27-controller"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(t27::version_text()));
    cli.setApplicationDescription(
        QStringLiteral("Desktop control program for the T27 HDMI test unit."));
    cli.addHelpOption();
    cli.addVersionOption();
    cli.addOptions({o.port, o.open, o.dir});
}

// --help and --version answer without a display, so they work in a package
// check or over ssh.
void answer_without_display(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h" || a == "-?" || a == "--version" || a == "-v") {
            QCoreApplication core(argc, argv);
            QCommandLineParser cli;
            Options o;
            set_up(cli, o);
            cli.process(core);  // prints and exits
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    answer_without_display(argc, argv);
    QApplication app(argc, argv);
    QCommandLineParser cli;
    Options o;
    set_up(cli, o);
    cli.process(app);
    const t27::ProgramPlaces places = t27::program_places(
        cli.isSet(o.dir) ? cli.value(o.dir) : QString(), QCoreApplication::applicationDirPath());
    t27::QtDialogs dialogs;
    t27::MainWindow window(places, dialogs);
    dialogs.set_owner(&window);
    window.set_unit_port(static_cast<quint16>(cli.value(o.port).toUInt()));
    t27::install_pages(window);
    window.form_load();
    // Start-up benchmark (bench/): say the window is up, then leave.
    if (qEnvironmentVariableIsSet("T27_SHOWN_EXIT")) {
        QTimer::singleShot(0, &app, [] {
            std::fputs("shown\n", stdout);
            std::fflush(stdout);
            QCoreApplication::quit();
        });
    }
    if (cli.isSet(o.open)) {
        QTimer::singleShot(0, &window, [&window] {
            if (window.link().link_interface == t27::interface_rs232)
                window.cmd_rs232_open_Click();
            else
                window.cmd_eth_open_Click();
        });
    }
    return app.exec();
}
