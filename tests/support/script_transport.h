#pragma once
// A transport whose far end is a function of what was written: each write is
// recorded and may schedule reply chunks on the virtual pump.
#include <functional>
#include <string>
#include <vector>

#include "protocol/transport.h"
#include "tests/support/virtual_pump.h"

namespace t27::testing {

struct Chunk {
    std::string bytes;
    std::int64_t delay_ms = 5;  // after the previous chunk (first: after the write)
};

class ScriptTransport : public Transport {
public:
    explicit ScriptTransport(VirtualPump& pump) : pump_(pump) {}

    bool is_open() const override { return open; }
    bool write(const std::string& bytes) override {
        writes.push_back(bytes);
        wire += bytes;
        if (fail_writes) return false;
        if (responder) schedule(responder(bytes));
        return true;
    }
    bool wait_tx_empty() override { return !fail_buffers; }
    bool discard_rx() override {
        ++discards;
        return !fail_buffers;
    }
    void set_receiving(bool on) override { receiving = on; }

    void schedule(const std::vector<Chunk>& chunks) {
        std::int64_t t = 0;
        for (const Chunk& c : chunks) {
            t += c.delay_ms;
            std::string b = c.bytes;
            pump_.at(t, [this, b] { deliver(b); });
        }
    }
    void push(const std::string& bytes) { deliver(bytes); }

    bool open = true;
    bool fail_writes = false;
    bool fail_buffers = false;
    bool receiving = false;
    int discards = 0;
    std::vector<std::string> writes;
    std::string wire;
    std::function<std::vector<Chunk>(const std::string&)> responder;

private:
    VirtualPump& pump_;
};

// Records what the engine would show a person.
struct RecordingView : EngineView {
    void show_message(const std::string& text, MessageIcon icon) override {
        messages.push_back(text);
        icons.push_back(icon);
    }
    void set_link_label(const std::string& caption, Colour colour) override {
        link_caption = caption;
        link_colour = colour;
        ++link_updates;
    }
    void set_activity(bool visible, int position) override {
        activity_visible = visible;
        if (visible) activity_positions.push_back(position);
    }
    void monitor_log_changed(const std::string& log) override { last_log = log; }
    void monitor_log_cleared() override { ++log_clears; }

    std::vector<std::string> messages;
    std::vector<MessageIcon> icons;
    std::string link_caption;
    Colour link_colour = 0;
    int link_updates = 0;
    bool activity_visible = false;
    std::vector<int> activity_positions;
    std::string last_log;
    int log_clears = 0;
};

}  // namespace t27::testing
