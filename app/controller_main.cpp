// t27-controller: the desktop program.
#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <cstdio>

#include "app/install_pages.h"
#include "mainwin/main_window.h"
#include "mainwin/qt_dialogs.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("t27-controller"));

    // The desk program itself takes no options; these two exist so a demo or
    // an end-to-end test can reach a simulator on an unprivileged port and
    // press the connect button the way a user would.
    QCommandLineParser cli;
    cli.addHelpOption();
    QCommandLineOption port_opt(QStringLiteral("unit-port"),
                                QStringLiteral("TCP port of the unit (default 23)."),
                                QStringLiteral("port"), QStringLiteral("23"));
    QCommandLineOption open_opt(QStringLiteral("open"),
                                QStringLiteral("Open the saved interface after start-up, as "
                                               "the connect button does."));
    QCommandLineOption dir_opt(QStringLiteral("program-dir"),
                               QStringLiteral("Folder with the catalogue, settings and pictures "
                                              "(default: the executable's folder)."),
                               QStringLiteral("dir"));
    cli.addOptions({port_opt, open_opt, dir_opt});
    cli.process(app);

    const QString dir =
        cli.isSet(dir_opt) ? cli.value(dir_opt) : QCoreApplication::applicationDirPath();
    t27::QtDialogs dialogs;
    t27::MainWindow window(dir, dialogs);
    dialogs.set_owner(&window);
    window.set_unit_port(static_cast<quint16>(cli.value(port_opt).toUInt()));
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
    if (cli.isSet(open_opt)) {
        QTimer::singleShot(0, &window, [&window] {
            if (window.link().link_interface == t27::interface_rs232)
                window.cmd_rs232_open_Click();
            else
                window.cmd_eth_open_Click();
        });
    }
    return app.exec();
}
