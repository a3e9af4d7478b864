#pragma once
// The unit model behind a transport on virtual time: what the engine writes
// goes to a UnitSession; its emissions come back as receive batches.
#include <string>

#include "protocol/transport.h"
#include "sim/unit_session.h"
#include "tests/support/virtual_pump.h"

namespace t27::testing {

class SimTransport : public Transport {
public:
    SimTransport(VirtualPump& pump, sim::UnitModel& model) : pump_(pump), session_(model) {}

    bool is_open() const override { return open_; }
    bool write(const std::string& bytes) override {
        if (!open_) return false;
        std::int64_t t = 0;
        for (const sim::Emission& e : session_.feed(bytes)) {
            t += e.delay_ms;
            const std::string b = e.bytes;
            const bool close = e.close_after;
            // A real link needs a moment; so does this one.
            pump_.at(t + 1, [this, b, close] {
                if (!open_) return;
                if (!b.empty()) deliver(b);
                if (close) open_ = false;
            });
        }
        return true;
    }

    const std::string& wire() const { return session_.wire_log(); }
    void set_open(bool o) { open_ = o; }

private:
    VirtualPump& pump_;
    sim::UnitSession session_;
    bool open_ = true;
};

}  // namespace t27::testing
