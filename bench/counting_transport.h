#pragma once
// A transport that passes everything through to another one and counts the
// bytes each way: what crossed the wire is what the floor is made of.
#include <cstddef>
#include <string>

#include "protocol/transport.h"

namespace t27::bench {

class CountingTransport : public Transport {
  public:
    explicit CountingTransport(Transport& inner) : inner_(inner) {
        inner_.set_receive_handler([this](const std::string& bytes) {
            received += bytes.size();
            deliver(bytes);
        });
    }

    bool is_open() const override { return inner_.is_open(); }
    bool write(const std::string& bytes) override {
        const bool ok = inner_.write(bytes);
        if (ok) sent += bytes.size();
        return ok;
    }
    bool wait_tx_empty() override { return inner_.wait_tx_empty(); }
    bool discard_rx() override { return inner_.discard_rx(); }
    int rx_count() override { return inner_.rx_count(); }
    void set_receiving(bool on) override { inner_.set_receiving(on); }

    std::size_t sent = 0;
    std::size_t received = 0;

  private:
    Transport& inner_;
};

}  // namespace t27::bench
