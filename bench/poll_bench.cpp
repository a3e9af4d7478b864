// t27-bench-poll: the program's own main window with every page installed,
// linked over TCP on 127.0.0.1 to t27-unit-sim running as a separate process,
// polling on the Monitor tab on the offscreen platform.
//   t27-bench-poll rate [SECONDS]    requests per second over the poll timer's
//                                    ceiling of 50 per second, each view in turn
//   t27-bench-poll probe [SECONDS]   worst lateness of a 10 ms probe timer while
//                                    polling, the views changing every 5 s
//   t27-bench-poll memory [SECONDS]  resident memory after polling that long
//                                    minus at its start
// The last line of each holds the figure.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "analyser/analyser_state.h"
#include "app/install_pages.h"
#include "bench/program_dir.h"
#include "bench/quiet_views.h"
#include "bench/sim_child.h"
#include "bench/stats.h"
#include "mainwin/main_window.h"

namespace {

namespace bench = t27::bench;

// The poll timer's interval sets the ceiling: one request per 20 ms.
constexpr double poll_ceiling_per_s = 50.0;
constexpr int probe_interval_ms = 10;
constexpr int view_change_ms = 5000;

int usage() {
    std::cerr << "usage: t27-bench-poll rate|probe|memory [SECONDS]\n";
    return 64;
}

// Runs the event loop for `ms` milliseconds.
void run_for(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool run_until(const std::function<bool()>& done, int timeout_ms) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeout_ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Requests the unit has received: each ends with CR.
long requests_in(const QString& wire_log) {
    QFile f(wire_log);
    if (!f.open(QIODevice::ReadOnly)) return 0;
    return static_cast<long>(f.readAll().count('\r'));
}

long resident_kb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// A single-shot timer re-armed at every firing, so each firing's lateness is
// measured from the moment it was armed.
class Probe {
  public:
    Probe() {
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const double late_ms = static_cast<double>(clock_.nsecsElapsed() - due_ns_) / 1e6;
            lateness_.push_back(late_ms);
            arm();
        });
        clock_.start();
    }
    void start() {
        lateness_.clear();
        arm();
    }
    void stop() { timer_.stop(); }
    double worst() const {
        double w = 0;
        for (double l : lateness_) w = std::max(w, l);
        return w;
    }
    double percentile(double p) const {
        if (lateness_.empty()) return 0;
        std::vector<double> v = lateness_;
        std::sort(v.begin(), v.end());
        return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1))];
    }
    std::size_t samples() const { return lateness_.size(); }

  private:
    void arm() {
        due_ns_ = clock_.nsecsElapsed() + probe_interval_ms * 1000000LL;
        timer_.start(probe_interval_ms);
    }

    QTimer timer_;
    QElapsedTimer clock_;
    qint64 due_ns_ = 0;
    std::vector<double> lateness_;
};

class PollBench {
  public:
    bool open(std::string& error) {
        if (!dir_.isValid()) {
            error = "no temporary folder";
            return false;
        }
        if (!bench::fill_program_dir(dir_.path(), QCoreApplication::applicationDirPath(),
                                     t27::interface_ethernet)) {
            error = "cannot fill the program folder";
            return false;
        }
        wire_log_ = dir_.path() + "/wire.log";
        if (!sim_.start(bench::sim_program(),
                        {"--listen", "127.0.0.1:0", "--wire-log", wire_log_, "--quiet"}, error))
            return false;

        window_ = std::make_unique<t27::MainWindow>(dir_.path(), dialogs_);
        window_->set_unit_port(static_cast<quint16>(sim_.tcp_port()));
        t27::install_pages(*window_);
        window_->form_load();
        return true;
    }

    // Connects as the connect button does, waits for the link, then opens the
    // Monitor tab, which starts the poll.
    bool link_and_poll(std::string& error) {
        t27::MainWindow& w = *window_;
        w.cmd_eth_open_Click();
        if (!run_until(
                [&] { return w.unit().model_family != t27::not_known && !w.link().cmdtx_busy; },
                15000)) {
            error = "the window did not link to t27-unit-sim";
            return false;
        }
        w.cmd_main_Click(t27::tab_monitor);
        if (!run_until([&] { return w.tim_monitor().isActive(); }, 5000)) {
            error = "the Monitor tab did not start polling";
            return false;
        }
        return true;
    }

    // The view choice, clicked as a user clicks it.
    bool choose_view(int view) {
        auto* o = window_->findChild<QRadioButton*>(QStringLiteral("opt_mon_type_%1").arg(view));
        if (!o) return false;
        o->click();
        return true;
    }

    // Requests per second while the event loop runs for `ms`.
    double request_rate(int ms) {
        const long before = requests_in(wire_log_);
        QElapsedTimer t;
        t.start();
        run_for(ms);
        const double seconds = static_cast<double>(t.nsecsElapsed()) / 1e9;
        return static_cast<double>(requests_in(wire_log_) - before) / seconds;
    }

    // Runs for `ms`, moving to the next view every view_change_ms.
    void poll_through_views(int ms) {
        for (int done = 0, view = 0; done < ms; done += view_change_ms) {
            choose_view(view);
            view = (view + 1) % t27::analyser_view_count;
            run_for(std::min(view_change_ms, ms - done));
        }
        choose_view(t27::view_system);
    }

    bool healthy(std::string& error) const {
        if (!dialogs_.messages.empty()) {
            error = "the window showed \"" + dialogs_.messages.front() + "\"";
            return false;
        }
        if (window_->unit().model_family == t27::not_known || !window_->link().ethernet_connected) {
            error = "the link was lost";
            return false;
        }
        return true;
    }

    void close() {
        if (window_) window_->form_unload();
        window_.reset();
    }

  private:
    QTemporaryDir dir_;
    QString wire_log_;
    bench::SimChild sim_;
    bench::QuietDialogs dialogs_;
    std::unique_ptr<t27::MainWindow> window_;
};

int run_rate(PollBench& b, int seconds) {
    const int per_view_ms = std::max(1000, seconds * 1000 / t27::analyser_view_count);
    std::vector<double> rates;
    for (int view = 0; view < t27::analyser_view_count; ++view) {
        b.choose_view(view);
        run_for(200);  // the first request of the new list is on its way
        const double rate = b.request_rate(per_view_ms);
        rates.push_back(rate);
        std::cout << "view " << view << ": " << bench::fixed(rate, 1) << " requests/s\n";
    }
    double sum = 0;
    for (double r : rates) sum += r;
    const double rate = sum / static_cast<double>(rates.size());
    std::cout << "poll rate: " << bench::fixed(rate, 1) << " requests/s / "
              << bench::fixed(poll_ceiling_per_s, 0) << " = "
              << bench::fixed(rate / poll_ceiling_per_s, 3) << " (target >= 0.9)\n";
    return 0;
}

int run_probe(PollBench& b, int seconds, std::string& error) {
    Probe probe;
    // The same probe with the window idle (linked, no tab polling) first: the
    // machine's own noise, measured in this run.
    probe.start();
    run_for(5000);
    probe.stop();
    const double idle_worst = probe.worst();
    std::cout << "idle:    worst " << bench::fixed(idle_worst, 2) << " ms, 99th percentile "
              << bench::fixed(probe.percentile(0.99), 2) << " ms over " << probe.samples()
              << " firings\n";
    if (!b.link_and_poll(error)) return 1;
    probe.start();
    b.poll_through_views(seconds * 1000);
    probe.stop();
    std::cout << "polling: worst " << bench::fixed(probe.worst(), 2) << " ms, 99th percentile "
              << bench::fixed(probe.percentile(0.99), 2) << " ms over " << probe.samples()
              << " firings\n";
    if (!b.healthy(error)) return 1;
    std::cout << "probe lateness while polling: worst " << bench::fixed(probe.worst(), 2)
              << " ms (target <= 30 ms; idle worst " << bench::fixed(idle_worst, 2) << " ms)\n";
    return 0;
}

int run_memory(PollBench& b, int seconds, std::string& error) {
    // "After start": linked, the Monitor tab open and its poll running. The
    // first minute's sample is printed as well: what grows after it is what
    // a long session keeps adding.
    const long start_kb = resident_kb();
    long first_minute_kb = -1;
    std::cout << "after start: " << start_kb << " kB resident\n";
    constexpr int report_every_s = 60;
    for (int done = 0; done < seconds; done += report_every_s) {
        const int step = std::min(report_every_s, seconds - done);
        b.poll_through_views(step * 1000);
        const long now_kb = resident_kb();
        if (first_minute_kb < 0) first_minute_kb = now_kb;
        std::cout << "after " << done + step << " s: " << now_kb << " kB resident\n" << std::flush;
    }
    if (!b.healthy(error)) return 1;
    const long end_kb = resident_kb();
    std::cout << "growth after the first minute: "
              << bench::fixed(static_cast<double>(end_kb - first_minute_kb) / 1024.0, 2) << " MB\n";
    std::cout << "resident memory after " << seconds << " s of polling minus after start: "
              << bench::fixed(static_cast<double>(end_kb - start_kb) / 1024.0, 2)
              << " MB (target <= 5 MB)\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) return usage();
    const std::string mode = argv[1];
    int seconds = argc > 2 ? std::atoi(argv[2]) : 0;
    if (mode == "rate") {
        if (seconds <= 0) seconds = 20;
    } else if (mode == "probe") {
        if (seconds <= 0) seconds = 60;
    } else if (mode == "memory") {
        if (seconds <= 0) seconds = 600;
    } else {
        return usage();
    }

    PollBench b;
    std::string error;
    int rc = 1;
    if (b.open(error)) {
        if (mode == "probe")
            rc = run_probe(b, seconds, error);  // links after its idle baseline
        else if (b.link_and_poll(error))
            rc = mode == "rate" ? run_rate(b, seconds) : run_memory(b, seconds, error);
        if (rc == 0 && !b.healthy(error)) rc = 1;
    }
    b.close();
    if (rc != 0) std::cout << "t27-bench-poll " << mode << ": FAILED: " << error << "\n";
    return rc;
}
