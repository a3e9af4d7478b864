#include "protocol/qt/qt_serial_transport.h"

namespace t27 {

namespace {

// The transmit wait has no bound in the original; a port whose driver stops
// draining (a pulled USB adapter) must not hang the window.
constexpr std::int64_t tx_wait_limit_ms = 3000;

}  // namespace

QtSerialTransport::QtSerialTransport(Pump& pump, QObject* parent)
    : QObject(parent), pump_(pump) {
    tim_rx_.setObjectName("tim_rx");
    tim_rx_.setInterval(20);
    connect(&tim_rx_, &QTimer::timeout, this, [this] { rx_step(); });
    // Bytes that arrive while a transaction waits are taken at once as well:
    // on the timer alone every reply waits for the next 20 ms step, which
    // for the short status lines is several times their time on the wire.
    // The timer stays, for bytes that were already buffered when it started.
    connect(&port_, &QSerialPort::readyRead, this, [this] {
        if (receiving_ && !in_step_) rx_step();
    });
}

bool QtSerialTransport::open(const QString& device, QString* error) {
    if (port_.isOpen()) port_.close();
    port_.setPortName(device);
    port_.setBaudRate(QSerialPort::Baud115200);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (device.isEmpty() || !port_.open(QIODevice::ReadWrite)) {
        if (error) *error = device.isEmpty() ? QStringLiteral("no device") : port_.errorString();
        return false;
    }
    if (!port_.clear(QSerialPort::AllDirections)) {
        if (error) *error = port_.errorString();
        port_.close();
        return false;
    }
    return true;
}

void QtSerialTransport::close() {
    tim_rx_.stop();
    receiving_ = false;
    if (port_.isOpen()) port_.close();
}

bool QtSerialTransport::failed() const {
    const auto e = port_.error();
    return e == QSerialPort::ResourceError || e == QSerialPort::PermissionError ||
           e == QSerialPort::DeviceNotFoundError;
}

bool QtSerialTransport::is_open() const { return port_.isOpen() && !failed(); }

bool QtSerialTransport::write(const std::string& bytes) {
    if (!is_open()) return false;
    const qint64 n = port_.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return n == static_cast<qint64>(bytes.size());
}

bool QtSerialTransport::wait_tx_empty() {
    const std::int64_t start = pump_.now_ms();
    while (port_.bytesToWrite() > 0) {
        if (!is_open() || pump_.now_ms() - start > tx_wait_limit_ms) return false;
        pump_.wait_events(5);
    }
    return is_open();
}

bool QtSerialTransport::discard_rx() {
    if (!is_open()) return false;
    port_.readAll();  // what Qt has already buffered
    return port_.clear(QSerialPort::Input);
}

int QtSerialTransport::rx_count() {
    if (!is_open()) return -1;
    return static_cast<int>(port_.bytesAvailable());
}

void QtSerialTransport::set_receiving(bool on) {
    receiving_ = on;
    if (on)
        tim_rx_.start();
    else
        tim_rx_.stop();
}

void QtSerialTransport::rx_step() {
    // The events processed inside a step can announce more bytes; they are
    // read by this step, never by a second one nested in it.
    if (in_step_) return;
    in_step_ = true;
    rx_step_body();
    in_step_ = false;
}

void QtSerialTransport::rx_step_body() {
    if (!is_open()) {
        tim_rx_.stop();
        receiving_ = false;
        if (on_read_failure) on_read_failure();
        return;
    }
    if (port_.bytesAvailable() == 0) return;
    tim_rx_.stop();
    pump_.process_events();
    const QByteArray bytes = port_.readAll();
    if (failed()) {
        receiving_ = false;
        if (on_read_failure) on_read_failure();
        return;
    }
    deliver(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (receiving_ && !(closing && closing())) {
        tim_rx_.start();
        pump_.process_events();
    }
}

}  // namespace t27
