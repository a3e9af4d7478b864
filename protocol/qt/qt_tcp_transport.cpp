#include "protocol/qt/qt_tcp_transport.h"

namespace t27 {

QtTcpTransport::QtTcpTransport(QObject* parent) : QObject(parent) {
    socket_.setObjectName("wsk_client");
    // Requests are short lines answered at once; waiting to coalesce them
    // only adds latency to every poll.
    connect(&socket_, &QTcpSocket::connected, this, [this] {
        socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        if (on_connected) on_connected();
    });
    connect(&socket_, &QTcpSocket::disconnected, this, [this] {
        if (closing_self_ || !on_closed) return;
        // The owner reconnects from on_closed, with a grace wait that runs
        // events. Doing that inside the socket's own signal lets the socket
        // finish tearing down the old connection underneath the new one (a
        // write then lands in a reset buffer), so it runs once the signal
        // has returned, and only if nobody has reconnected meanwhile.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (socket_.state() == QAbstractSocket::UnconnectedState && on_closed)
                    on_closed();
            },
            Qt::QueuedConnection);
    });
    connect(&socket_, &QTcpSocket::readyRead, this, [this] {
        const QByteArray b = socket_.readAll();
        deliver(std::string(b.constData(), static_cast<std::size_t>(b.size())));
    });
}

void QtTcpTransport::connect_to(const QString& host, quint16 port) {
    close();
    socket_.connectToHost(host, port);
}

void QtTcpTransport::close() {
    // abort() rather than close(): a half-closed link waiting to flush must
    // not keep a dead unit's connection around.
    closing_self_ = true;
    socket_.abort();
    closing_self_ = false;
}

bool QtTcpTransport::connected() const {
    return socket_.state() == QAbstractSocket::ConnectedState;
}

bool QtTcpTransport::write(const std::string& bytes) {
    if (!connected()) return false;
    const qint64 n = socket_.write(bytes.data(), static_cast<qint64>(bytes.size()));
    if (n != static_cast<qint64>(bytes.size())) return false;
    socket_.flush();
    return true;
}

}  // namespace t27
