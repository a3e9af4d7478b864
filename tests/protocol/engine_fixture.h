#pragma once
#include <gtest/gtest.h>

#include "protocol/engine.h"
#include "tests/support/script_transport.h"
#include "tests/support/virtual_pump.h"

namespace t27::testing {

// An engine linked to a V4 unit over both transports, on virtual time.
class EngineTest : public ::testing::Test {
protected:
    EngineTest() : serial(pump), eth(pump), engine(link, unit, pump, view) {
        engine.set_serial(&serial);
        engine.set_ethernet(&eth);
        link.serial_open = true;
        link.ethernet_connected = true;
        unit.model_family = 0;
    }

    void use_ethernet() { link.link_interface = interface_ethernet; }

    // Answers every request with `reply`, `delay` ms after it was written.
    void answer_all(const std::string& reply, std::int64_t delay = 5) {
        auto respond = [reply, delay](const std::string&) {
            return std::vector<Chunk>{{reply, delay}};
        };
        serial.responder = respond;
        eth.responder = respond;
    }

    LinkState link;
    UnitIdentity unit;
    VirtualPump pump;
    RecordingView view;
    ScriptTransport serial;
    ScriptTransport eth;
    Engine engine;
};

}  // namespace t27::testing
