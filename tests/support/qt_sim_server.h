#pragma once
// The unit model served on a loopback TCP port from inside the test process,
// so widget tests talk to it through the real socket code.
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <memory>

#include "sim/unit_session.h"

namespace t27::testing {

class QtSimServer : public QObject {
public:
    explicit QtSimServer(sim::UnitModel& model) : model_(model) {
        QObject::connect(&server_, &QTcpServer::newConnection, this, [this] { accept(); });
    }

    bool listen() { return server_.listen(QHostAddress(QStringLiteral("127.0.0.1")), 0); }
    quint16 port() const { return server_.serverPort(); }
    void close_client() {
        if (client_) client_->abort();
    }
    void stop() {
        server_.close();
        close_client();
    }
    const std::string& wire() const { return wire_; }
    int connections() const { return connections_; }

private:
    void accept() {
        while (QTcpSocket* s = server_.nextPendingConnection()) {
            if (client_) client_->abort();  // the unit serves one client at a time
            client_ = s;
            session_ = std::make_unique<sim::UnitSession>(model_);
            ++connections_;
            QObject::connect(s, &QTcpSocket::readyRead, this, [this, s] {
                if (s != client_) return;
                const QByteArray b = s->readAll();
                const std::string bytes(b.constData(), static_cast<std::size_t>(b.size()));
                wire_ += bytes;
                std::int64_t t = 0;
                for (const sim::Emission& e : session_->feed(bytes)) {
                    t += e.delay_ms;
                    const QByteArray out(e.bytes.data(), static_cast<qsizetype>(e.bytes.size()));
                    const bool close = e.close_after;
                    QTimer::singleShot(static_cast<int>(t), s, [s, out, close] {
                        s->write(out);
                        if (close) {
                            s->flush();
                            s->disconnectFromHost();
                        }
                    });
                }
            });
        }
    }

    sim::UnitModel& model_;
    QTcpServer server_;
    QTcpSocket* client_ = nullptr;
    std::unique_ptr<sim::UnitSession> session_;
    std::string wire_;
    int connections_ = 0;
};

}  // namespace t27::testing
