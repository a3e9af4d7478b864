// t27_soak: the whole program polling t27-unit-sim on every Monitor view and
// on the cable page in turn, with a random fault armed every few seconds
// through the simulator's control channel. Prints one summary at the end;
// tools/soak.sh runs it.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "app/install_pages.h"
#include "mainwin/main_window.h"
#include "protocol/engine.h"
#include "tests/support/recording_dialogs.h"

namespace {

long resident_kib() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

struct Sim {
    QProcess proc;
    std::map<std::string, quint16> ports;

    bool start(const QString& wire_log) {
        proc.start(QStringLiteral(T27_SIM_BIN), {"--listen", "127.0.0.1:0", "--control",
                                                 "127.0.0.1:0", "--quiet", "--wire-log", wire_log});
        if (!proc.waitForStarted(5000)) return false;
        for (;;) {
            if (!proc.canReadLine() && !proc.waitForReadyRead(5000)) return false;
            while (proc.canReadLine()) {
                const QByteArray line = proc.readLine().trimmed();
                if (line == "READY") return true;
                const QList<QByteArray> parts = line.split(' ');
                if (parts.size() == 2)
                    ports[parts[0].toStdString()] =
                        static_cast<quint16>(parts[1].split(':').value(1).toUInt());
            }
        }
    }
    bool control(const std::string& line) {
        QTcpSocket s;
        s.connectToHost(QStringLiteral("127.0.0.1"), ports["CONTROL"]);
        if (!s.waitForConnected(2000)) return false;
        s.write((line + "\n").c_str());
        s.flush();
        while (!s.canReadLine())
            if (!s.waitForReadyRead(2000)) return false;
        return s.readLine().trimmed() == "ok";
    }
};

// Faults that leave the simulator serving; each is undone by the link itself.
const std::vector<std::string> fault_lines = {
    "drop 1", "drop 2",    "delay 400",  "dup",
    "err",    "wrongword", "garbage 40", "unsolicited $alarm? 1",
    "close",
};

// How long the link's own waits may keep the poll silent after a fault: a
// swallowed reply costs one attempt's full wait, a late one its delay, a
// closed connection the reconnect's grace wait and the clock's next tick.
qint64 allowed_silence_ms(const std::string& line) {
    constexpr qint64 attempt_ms = (t27::ticks_default + 1) * 20;
    if (line.rfind("drop ", 0) == 0) return std::atoi(line.c_str() + 5) * attempt_ms;
    if (line.rfind("delay ", 0) == 0) return std::atoi(line.c_str() + 6);
    if (line == "close") return 500 + 100;
    return 0;
}

// The poll sends at most one request a tick.
constexpr qint64 poll_tick_ms = 20;
// Below this share of the ceiling the poll is taken to have stalled.
constexpr double poll_share_floor = 0.60;

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const double minutes = argc > 1 ? std::atof(argv[1]) : 10.0;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 27u;

    QTemporaryDir dir;
    const QString data = QStringLiteral(T27_DATA_DIR);
    for (const QString& f : QDir(data).entryList({"*.ini"}, QDir::Files))
        QFile::copy(data + "/" + f, dir.path() + "/" + f);
    QDir().mkpath(dir.path() + "/bmp");
    for (const QString& f : QDir(data + "/bmp").entryList(QDir::Files))
        QFile::copy(data + "/bmp/" + f, dir.path() + "/bmp/" + f);
    {
        QFile s(dir.path() + "/Daveri_ini.txt");
        s.open(QIODevice::WriteOnly);
        QByteArray text = "1\r\n\"127.0.0.1\"\r\n1\r\n1500\r\n1500\r\n";
        for (int i = 0; i < 10; ++i) text += "\"\"\r\n";
        s.write(text);
    }
    const QString wire = dir.path() + "/wire.log";
    Sim sim;
    if (!sim.start(wire)) {
        std::fprintf(stderr, "t27_soak: the simulator did not start\n");
        return 2;
    }

    t27::testing::RecordingDialogs dialogs;
    t27::MainWindow window(dir.path(), dialogs);
    t27::install_pages(window);
    window.form_load();
    window.set_unit_port(sim.ports["LISTEN"]);
    window.show();
    window.cmd_eth_open_Click();

    std::mt19937 rng(seed);
    int faults = 0, recoveries = 0, unrecovered = 0, reconnects_by_hand = 0, step = 0;
    long rss_start = -1;
    qint64 worst_late = 0, last_tick = 0;
    QElapsedTimer clock;
    clock.start();

    // Worst lateness of a 10 ms probe across the whole run.
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        if (last_tick > 0) worst_late = std::max(worst_late, now - last_tick - 10);
        last_tick = now;
    });
    probe.start(10);

    auto linked = [&] {
        return window.unit().model_family != t27::not_known && window.link().ethernet_connected;
    };
    auto click = [&](const QString& name) {
        if (auto* b = window.findChild<QAbstractButton*>(name)) b->click();
    };

    // Every 4 s: the next view (five Monitor views in the analyser task, then
    // the cable page, which polls only in the cable task).
    QTimer views;
    QObject::connect(&views, &QTimer::timeout, [&] {
        if (window.link().cmdtx_busy || !linked()) return;  // a click now would only wait
        const int n = step++ % 6;
        if (n < 5) {
            if (window.state().current_tab != 4) {
                window.cmd_task_mode_set("analyser");
                click(QStringLiteral("cmd_main_4"));
            }
            click(QStringLiteral("opt_mon_type_%1").arg(n));
        } else {
            click(QStringLiteral("cmd_main_5"));
            window.cmd_task_mode_set("cable");
        }
    });
    views.start(4000);

    // Every 2-5 s a fault; the previous one counts as recovered when the
    // unit was linked again and answering before the next one.
    bool fault_open = false;
    auto wire_requests = [&] {
        QFile f(wire);
        return f.open(QIODevice::ReadOnly) ? f.readAll().count('\r') : 0;
    };
    qsizetype requests_at_fault = 0;
    std::string last_fault;
    qint64 fault_at = 0;
    qint64 silence_allowed = 0;
    // Recovered: linked again, asked something since the fault, and the last
    // answer accepted.
    auto judge = [&] {
        if (!fault_open) return true;
        if (wire_requests() < requests_at_fault + 3) return false;  // not asked yet
        if (linked() && !window.link().cmdtx_busy &&
            window.link().cmdrx_status == t27::ReplyStatus::Accepted) {
            ++recoveries;
            fault_open = false;
            return true;
        }
        return false;
    };
    QTimer answers;
    QObject::connect(&answers, &QTimer::timeout, [&] {
        judge();
        // A lost connection is the user's to reopen; do what a user would.
        if (!window.link().ethernet_connected && !window.link().cmdtx_busy &&
            window.findChild<QPushButton*>("cmd_eth_open")->isEnabled() &&
            !dialogs.messages.empty()) {
            dialogs.messages.clear();
            ++reconnects_by_hand;
            window.cmd_eth_open_Click();
        }
    });
    answers.start(50);

    QTimer fault_timer;
    fault_timer.setSingleShot(true);
    auto next_fault = [&] {
        // A fault gets up to 15 s to heal (two full waits of a dropped reply,
        // a reconnect and the clock's relink) before the next one is armed.
        if (fault_open && clock.elapsed() - fault_at < 15000) {
            fault_timer.start(500);
            return;
        }
        if (fault_open) {
            ++unrecovered;
            fault_open = false;
            std::fprintf(stderr,
                         "not recovered: fault %d '%s', %lld requests since, tab %d, "
                         "family %d, status %d, link '%s'\n",
                         faults, last_fault.c_str(),
                         static_cast<long long>(wire_requests() - requests_at_fault),
                         window.state().current_tab, window.unit().model_family,
                         static_cast<int>(window.link().cmdrx_status),
                         window.findChild<QLabel*>("lab_link")->text().toLatin1().constData());
        }
        if (rss_start < 0 && linked()) rss_start = resident_kib();
        const std::string& line = fault_lines[rng() % fault_lines.size()];
        if (sim.control(line)) {
            ++faults;
            fault_open = true;
            requests_at_fault = wire_requests();
            last_fault = line;
            fault_at = clock.elapsed();
            silence_allowed += allowed_silence_ms(line);
            if (line.rfind("delay", 0) == 0)
                QTimer::singleShot(1500, [&] { sim.control("delay 0"); });
        }
        fault_timer.start(2000 + static_cast<int>(rng() % 3000));
    };
    QObject::connect(&fault_timer, &QTimer::timeout, next_fault);
    fault_timer.start(5000);

    QTimer::singleShot(static_cast<int>(minutes * 60000), &app, [&] {
        fault_timer.stop();
        views.stop();
        // The last fault gets its chance to heal before the count.
        QTimer::singleShot(8000, &app, [&] {
            if (!judge()) ++unrecovered;
            QCoreApplication::quit();
        });
    });
    app.exec();
    const qint64 run_ms = clock.elapsed();

    const long rss_end = resident_kib();
    window.form_unload();
    QFile w(wire);
    const long requests = w.open(QIODevice::ReadOnly) ? w.readAll().count('\r') : -1;
    const bool sim_alive = sim.proc.state() == QProcess::Running;
    std::printf("minutes          %.1f\n", minutes);
    std::printf("requests sent    %ld\n", requests);
    std::printf("faults injected  %d\n", faults);
    std::printf("recoveries       %d\n", recoveries);
    std::printf("not recovered    %d\n", unrecovered);
    std::printf("reconnects       %d (by hand after a disconnect message)\n", reconnects_by_hand);
    std::printf("worst lateness   %lld ms (10 ms probe)\n", static_cast<long long>(worst_late));
    std::printf("simulator        %s\n", sim_alive ? "running" : "gone");
    // The ceiling: one request a tick over the run, less the silences the
    // faults were allowed.
    const long ceiling = static_cast<long>(std::max<qint64>(run_ms - silence_allowed, 1) / poll_tick_ms);
    const double share = static_cast<double>(requests) / static_cast<double>(ceiling);
    std::printf("rss start        %ld KiB\n", rss_start);
    std::printf("rss end          %ld KiB\n", rss_end);
    std::printf("poll ceiling     %ld requests (one a %lld ms tick over %.1f s, less %.1f s of "
                "allowed fault waits)\n",
                ceiling, static_cast<long long>(poll_tick_ms), run_ms / 1000.0,
                silence_allowed / 1000.0);
    std::printf("poll share       %.0f %% (at least %.0f %% needed)\n", share * 100.0,
                poll_share_floor * 100.0);
    sim.proc.terminate();
    sim.proc.waitForFinished(3000);
    const bool flowing = share >= poll_share_floor;
    if (!flowing) std::fprintf(stderr, "t27_soak: the poll stalled\n");
    return unrecovered == 0 && sim_alive && faults > 0 && flowing ? 0 : 1;
}
