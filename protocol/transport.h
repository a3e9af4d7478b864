#pragma once
// The byte pipe under the transaction engine. Implementations: a serial port,
// a TCP socket, and test transports wired to the unit model. Every operation
// reports failure by its return value; the engine decides what that means.
#include <functional>
#include <string>

namespace t27 {

class Transport {
public:
    using ReceiveHandler = std::function<void(const std::string& bytes)>;

    virtual ~Transport() = default;

    virtual bool is_open() const = 0;
    // Writes all bytes (one byte per character); false when the write failed.
    virtual bool write(const std::string& bytes) = 0;
    // Serial only: blocks (processing events) until the transmit buffer is
    // empty. Others return true at once.
    virtual bool wait_tx_empty() { return true; }
    // Drops whatever has been received and not yet handed on.
    virtual bool discard_rx() { return true; }
    // Bytes waiting to be read, or -1 when the device cannot be queried (the
    // serial watchdog closes the port on that).
    virtual int rx_count() { return 0; }
    // A serial link hands received bytes on only while a transaction waits
    // (its 20 ms receive step); a socket hands them on as they arrive.
    virtual void set_receiving(bool /*on*/) {}

    void set_receive_handler(ReceiveHandler h) { receive_ = std::move(h); }

protected:
    void deliver(const std::string& bytes) {
        if (receive_) receive_(bytes);
    }

private:
    ReceiveHandler receive_;
};

}  // namespace t27
