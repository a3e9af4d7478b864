// The yardstick for start-up: about the least a Qt Widgets program does to
// put a window with some text on the screen. With T27_SHOWN_EXIT set it says
// "shown" and leaves once the window is up, as t27-controller does.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("T27"));
    window.setWindowTitle(QStringLiteral("minimal"));
    window.resize(640, 480);
    window.show();
    QCoreApplication::processEvents();
    if (qEnvironmentVariableIsSet("T27_SHOWN_EXIT")) {
        QTimer::singleShot(0, &app, [] {
            std::fputs("shown\n", stdout);
            std::fflush(stdout);
            QCoreApplication::quit();
        });
    }
    return app.exec();
}
