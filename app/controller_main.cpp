// t27-controller: the desktop program.
#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

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

// The options the toolkit's window layer takes for itself (it removes them
// before the program sees its arguments).
bool window_layer_option(const QString& name) {
    static const QStringList names = {
        QStringLiteral("platform"),   QStringLiteral("platformpluginpath"),
        QStringLiteral("platformtheme"), QStringLiteral("plugin"),
        QStringLiteral("qwindowgeometry"), QStringLiteral("geometry"),
        QStringLiteral("qwindowicon"), QStringLiteral("icon"),
        QStringLiteral("qwindowtitle"), QStringLiteral("title"),
        QStringLiteral("reverse"),    QStringLiteral("session"),
        QStringLiteral("display"),    QStringLiteral("name"),
        QStringLiteral("style"),      QStringLiteral("stylesheet"),
        QStringLiteral("widgetcount"), QStringLiteral("qmljsdebugger"),
        QStringLiteral("nograb"),     QStringLiteral("dograb"),
        QStringLiteral("sync")};
    return names.contains(name);
}

// Reads the command line before any window exists, so --help, --help-all,
// --version and a mistake answer without a display (over ssh, in a package
// check) instead of the window layer aborting for want of one. Exits for
// those; returns the unit port otherwise.
quint16 check_options(int argc, char** argv) {
    QCoreApplication core(argc, argv);
    QCommandLineParser cli;
    Options o;
    set_up(cli, o);
    if (!cli.parse(QCoreApplication::arguments())) {
        bool ours = cli.unknownOptionNames().isEmpty();
        for (const QString& name : cli.unknownOptionNames()) ours |= !window_layer_option(name);
        if (ours) {
            std::fprintf(stderr, "t27-controller: %s\n", qPrintable(cli.errorText()));
            std::exit(EXIT_FAILURE);
        }
    }
    // --help, --help-all and --version print and exit here.
    for (const QString& a : QCoreApplication::arguments().mid(1))
        if (a == QLatin1String("--help") || a == QLatin1String("-h") || a == QLatin1String("-?") ||
            a == QLatin1String("--help-all") || a == QLatin1String("--version") ||
            a == QLatin1String("-v"))
            cli.process(core);
    bool ok = false;
    const uint port = cli.value(o.port).toUInt(&ok);
    if (!ok || port < 1 || port > 65535) {
        std::fprintf(stderr, "t27-controller: --unit-port takes a port number 1 to 65535, not '%s'\n",
                     qPrintable(cli.value(o.port)));
        std::exit(EXIT_FAILURE);
    }
    return static_cast<quint16>(port);
}

}  // namespace

int main(int argc, char** argv) {
    const quint16 unit_port = check_options(argc, argv);
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
    window.set_unit_port(unit_port);
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
