// t27-bench-startup-parts: t27-controller's start-up in the order its main()
// runs it, each step timed on the offscreen platform, so that a start-up
// figure above its target can be traced to the step that costs it.
//   t27-bench-startup-parts PROGRAM_DIR
// Prints one line of milliseconds from main(): the application object, the
// main window, the tab pages, form_load (the window is painted inside it),
// and what one serial port enumeration costs (form_load does one).
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QSerialPortInfo>
#include <iostream>

#include "app/install_pages.h"
#include "bench/quiet_views.h"
#include "bench/stats.h"
#include "mainwin/main_window.h"

namespace {

// Notes when the window receives its first paint event.
class FirstPaint : public QObject {
  public:
    explicit FirstPaint(const QElapsedTimer& clock) : clock_(clock) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint && at_ms < 0)
            at_ms = static_cast<double>(clock_.nsecsElapsed()) / 1e6;
        return false;
    }
    double at_ms = -1;

  private:
    const QElapsedTimer& clock_;
};

}  // namespace

int main(int argc, char** argv) {
    namespace bench = t27::bench;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc != 2) {
        std::cerr << "usage: t27-bench-startup-parts PROGRAM_DIR\n";
        return 64;
    }
    QElapsedTimer clock;
    clock.start();
    auto lap = [&clock, last = 0.0]() mutable {
        const double now = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        const double step = now - last;
        last = now;
        return bench::fixed(step, 1);
    };

    QApplication app(argc, argv);
    const std::string t_app = lap();
    bench::QuietDialogs dialogs;
    t27::MainWindow window(QString::fromLocal8Bit(argv[1]), dialogs);
    const std::string t_window = lap();
    FirstPaint paint(clock);
    window.installEventFilter(&paint);
    t27::install_pages(window);
    const std::string t_pages = lap();
    window.form_load();
    const std::string t_load = lap();
    const double total = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    (void)QSerialPortInfo::availablePorts();
    const std::string t_ports = lap();

    std::cout << "from main(): QApplication " << t_app << ", MainWindow " << t_window << ", pages "
              << t_pages << ", form_load " << t_load << " (first paint at "
              << bench::fixed(paint.at_ms, 1) << "), total " << bench::fixed(total, 1)
              << " ms; one serial port enumeration " << t_ports << " ms\n";
    window.form_unload();
    return 0;
}
