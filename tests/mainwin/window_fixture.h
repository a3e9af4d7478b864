#pragma once
// The real main window on the offscreen platform, with a temporary program
// directory and recorded dialogs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <chrono>
#include <functional>
#include <memory>

#include "mainwin/main_window.h"
#include "sim/unit_model.h"
#include "tests/support/recording_dialogs.h"

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

class WindowTest : public ::testing::Test {
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

    void write_file(const QString& name, const QByteArray& bytes) {
        QFile f(dir.path() + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    // Settings selecting an interface, address and COM number.
    void write_settings(int iface, const std::string& ip, int com) {
        QByteArray s = QByteArray::number(iface) + "\r\n\"" + QByteArray(ip.c_str()) + "\"\r\n" +
                       QByteArray::number(com) + "\r\n1500\r\n1500\r\n";
        for (int i = 0; i < 10; ++i) s += "\"\"\r\n";
        write_file("Daveri_ini.txt", s);
    }

    MainWindow& open_window() {
        window = std::make_unique<MainWindow>(dir.path(), dialogs);
        window->form_load();
        return *window;
    }

    // Points the open window at 127.0.0.1:`port` and presses connect.
    void connect_over_tcp(MainWindow& w, quint16 port) {
        w.set_unit_port(port);
        find<QPushButton>("cmd_eth_open")->click();
    }
    // ...and waits until the unit is identified and the line is idle.
    bool link_over_tcp(MainWindow& w, quint16 port, int timeout_ms = 5000) {
        connect_over_tcp(w, port);
        return wait_until([&] { return w.unit().model_family != not_known; }, timeout_ms) &&
               wait_until([&] { return !w.link().cmdtx_busy; });
    }

    template <typename T>
    T* find(const char* name) {
        return window->findChild<T*>(QString::fromLatin1(name));
    }

    QTemporaryDir dir;
    RecordingDialogs dialogs;
    sim::UnitModel model;
    std::unique_ptr<MainWindow> window;
};

}  // namespace t27::testing
