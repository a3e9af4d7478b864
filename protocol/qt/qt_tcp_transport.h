#pragma once
#include <QObject>
#include <QTcpSocket>
#include <functional>

#include "protocol/transport.h"

namespace t27 {

// The unit's TCP port. Received data is handed on as it arrives.
class QtTcpTransport : public QObject, public Transport {
    Q_OBJECT
public:
    explicit QtTcpTransport(QObject* parent = nullptr);

    void connect_to(const QString& host, quint16 port);
    void close();
    bool connected() const;

    bool is_open() const override { return connected(); }
    bool write(const std::string& bytes) override;

    QTcpSocket& socket() { return socket_; }

    std::function<void()> on_connected;
    std::function<void()> on_closed;  // closed by the peer

private:
    QTcpSocket socket_;
    bool closing_self_ = false;
};

}  // namespace t27
