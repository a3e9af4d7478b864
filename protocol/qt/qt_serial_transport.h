#pragma once
#include <QObject>
#include <QSerialPort>
#include <QTimer>
#include <functional>

#include "protocol/pump.h"
#include "protocol/transport.h"

namespace t27 {

// A COM port at the unit's fixed "115200,N,8,1". Received bytes are handed on
// by a receive step that runs only while a transaction waits: every 20 ms,
// and as soon as bytes arrive.
class QtSerialTransport : public QObject, public Transport {
    Q_OBJECT
public:
    explicit QtSerialTransport(Pump& pump, QObject* parent = nullptr);

    bool open(const QString& device, QString* error = nullptr);
    void close();

    bool is_open() const override;
    bool write(const std::string& bytes) override;
    bool wait_tx_empty() override;
    bool discard_rx() override;
    int rx_count() override;
    void set_receiving(bool on) override;

    // Called when a receive step cannot read the port; the owner closes it.
    std::function<void()> on_read_failure;
    // While this answers true the receive step does not re-arm itself.
    std::function<bool()> closing;

    QTimer& rx_timer() { return tim_rx_; }

private:
    void rx_step();
    void rx_step_body();
    bool failed() const;

    Pump& pump_;
    QSerialPort port_;
    QTimer tim_rx_;
    bool receiving_ = false;
    bool in_step_ = false;
};

}  // namespace t27
