#pragma once
// The whole program against t27-unit-sim as a child process, with faults
// armed through the simulator's control channel while the window runs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/install_pages.h"
#include "mainwin/main_window.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/sim_control.h"

namespace t27::testing {

// Processes events until `done` or the timeout; true when done.
inline bool wait_until(const std::function<bool()>& done, int timeout_ms = 5000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

inline void run_events_for(int ms) {
    wait_until([] { return false; }, ms);
}

// A 10 ms timer that remembers how late its worst tick came: a handler that
// blocks the event loop shows up here however the window looks.
class LatenessProbe {
  public:
    LatenessProbe() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.elapsed();
            worst_ = std::max(worst_, now - last_ - 10);
            last_ = now;
        });
        clock_.start();
        last_ = clock_.elapsed();
        timer_.start();
    }
    // Milliseconds beyond the 10 ms interval, worst case so far.
    qint64 worst_ms() const { return worst_; }

  private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 worst_ = 0;
};

// Without a deliberate modal message the window must answer within this.
inline constexpr qint64 lateness_bound_ms = 150;

// t27-unit-sim as a child process; the announced addresses by word
// ("LISTEN", "PTY", "CONTROL", "DISCOVERY").
class FaultSim {
  public:
    bool start(const QStringList& args, const QString& wire_log = {}) {
        QStringList all = args;
        all << "--control"
            << "127.0.0.1:0"
            << "--quiet";
        if (!wire_log.isEmpty()) all << "--wire-log" << wire_log;
        proc_.setProcessChannelMode(QProcess::SeparateChannels);
        proc_.start(QStringLiteral(T27_SIM_BIN), all);
        if (!proc_.waitForStarted(5000)) return false;
        for (;;) {
            if (!proc_.canReadLine() && !proc_.waitForReadyRead(5000)) return false;
            while (proc_.canReadLine()) {
                const std::string line = proc_.readLine().trimmed().toStdString();
                if (line == "READY") return true;
                const std::size_t blank = line.find(' ');
                if (blank != std::string::npos)
                    announced_[line.substr(0, blank)] = line.substr(blank + 1);
            }
        }
    }
    std::string announced(const std::string& word) const {
        auto it = announced_.find(word);
        return it == announced_.end() ? std::string() : it->second;
    }
    quint16 port_of(const std::string& word) const {
        const std::string a = announced(word);
        const std::size_t colon = a.rfind(':');
        return colon == std::string::npos ? 0
                                          : static_cast<quint16>(std::stoi(a.substr(colon + 1)));
    }
    // One control line; the simulator's answer ("ok" or "error: ...").
    std::string control(const std::string& line) {
        return sim_control_line(QStringLiteral("127.0.0.1"), port_of("CONTROL"), line);
    }
    void kill_now() {
        proc_.kill();  // SIGKILL: no chance to close anything tidily
        proc_.waitForFinished(3000);
    }
    bool running() const { return proc_.state() != QProcess::NotRunning; }
    ~FaultSim() {
        if (running()) {
            proc_.terminate();
            if (!proc_.waitForFinished(3000)) proc_.kill();
            proc_.waitForFinished(1000);
        }
    }

  private:
    QProcess proc_;
    std::map<std::string, std::string> announced_;
};

class FaultTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        const QString data = QStringLiteral(T27_DATA_DIR);
        for (const QString& f : QDir(data).entryList({"*.ini"}, QDir::Files))
            QFile::copy(data + "/" + f, dir.path() + "/" + f);
        QDir().mkpath(dir.path() + "/bmp");
        for (const QString& f : QDir(data + "/bmp").entryList(QDir::Files))
            QFile::copy(data + "/bmp/" + f, dir.path() + "/bmp/" + f);
    }
    void TearDown() override {
        if (window) window->form_unload();
        window.reset();
    }

    void write_file(const QString& name, const QByteArray& bytes) {
        QFile f(dir.path() + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read_file(const QString& name) const {
        QFile f(dir.path() + "/" + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Asserts the bound and records the figure in the test's XML output.
    void expect_responsive(const LatenessProbe& probe, qint64 bound = lateness_bound_ms) {
        // A handler that blocked just now shows up at the probe's next tick.
        run_events_for(30);
        RecordProperty("worst_lateness_ms", static_cast<int>(probe.worst_ms()));
        EXPECT_LE(probe.worst_ms(), bound);
    }
    QString wire_log() const { return dir.path() + "/wire.log"; }
    // Requests that reached the simulator: each ends with one CR.
    int requests_seen(const QByteArray& request) const {
        return read_file("wire.log").count(request);
    }

    void write_settings(int iface, const std::string& ip, int com) {
        QByteArray s = QByteArray::number(iface) + "\r\n\"" + QByteArray(ip.c_str()) + "\"\r\n" +
                       QByteArray::number(com) + "\r\n1500\r\n1500\r\n";
        for (int i = 0; i < 10; ++i) s += "\"\"\r\n";
        write_file("Daveri_ini.txt", s);
    }

    MainWindow& open_window() {
        window = std::make_unique<MainWindow>(dir.path(), dialogs);
        install_pages(*window);
        window->form_load();
        return *window;
    }

    // Ethernet to the simulator's TCP server, linked and idle.
    MainWindow& linked_over_tcp(FaultSim& sim) {
        write_settings(1, "127.0.0.1", 1);
        MainWindow& w = open_window();
        w.set_unit_port(sim.port_of("LISTEN"));
        find<QPushButton>("cmd_eth_open")->click();
        EXPECT_TRUE(wait_until([&] { return linked(); }, 10000));
        return w;
    }

    bool linked() const {
        return window->unit().model_family != not_known && !window->link().cmdtx_busy;
    }
    std::string link_caption() { return from_label("lab_link"); }
    std::string from_label(const char* name) {
        auto* l = find<QLabel>(name);
        return l ? l->text().toStdString() : std::string("<no ") + name + ">";
    }

    template <typename T>
    T* find(const char* name) {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    template <typename T>
    T* find(const QString& name) {
        return window->findChild<T*>(name);
    }

    QTemporaryDir dir;
    RecordingDialogs dialogs;
    std::unique_ptr<MainWindow> window;
};

}  // namespace t27::testing
