// Requests as every requester builds them, from any parameters: whatever
// leaves the engine is a line with exactly one terminator and no other
// control byte ("$edid_write" lines then carry their data block).
//
// Input: a requester byte, a flags byte (1 over RS-232), then the parameters,
// each a length byte and that many bytes.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "edid/unit/slot_exchange.h"
#include "edid/unit/unit_exchange.h"
#include "fuzz/fuzz_support.h"
#include "generator/output_requests.h"
#include "protocol/command_table.h"
#include "protocol/engine.h"
#include "protocol/request_text.h"

namespace {

class ReplyPump : public t27::Pump {
  public:
    std::int64_t now_ms() override { return now_; }
    void process_events() override { deliver(); }
    void wait_events(std::int64_t max_ms) override {
        now_ += max_ms > 0 ? max_ms : 1;
        deliver();
    }
    std::deque<std::string> pending;
    t27::Transport* to = nullptr;

  private:
    void deliver();
    std::int64_t now_ = 0;
};

// Keeps every byte written and answers each request line with its own text,
// so requesters that go on after an accepted reply go on.
class WireTransport : public t27::Transport {
  public:
    explicit WireTransport(ReplyPump& pump) : pump_(pump) {}
    bool is_open() const override { return true; }
    bool write(const std::string& bytes) override {
        wire += bytes;
        std::size_t end = 0;
        while (end < bytes.size() && static_cast<unsigned char>(bytes[end]) >= 0x20) ++end;
        if (bytes.rfind("$", 0) == 0) pump_.pending.push_back(bytes.substr(0, end) + "\r\n");
        return true;
    }
    void hand_on(const std::string& bytes) { deliver(bytes); }
    std::string wire;

  private:
    ReplyPump& pump_;
};

void ReplyPump::deliver() {
    if (pending.empty() || !to) return;
    const std::string bytes = std::move(pending.front());
    pending.pop_front();
    static_cast<WireTransport*>(to)->hand_on(bytes);
}

struct SilentView : t27::EngineView {
    void show_message(const std::string&, t27::MessageIcon) override {}
    void set_link_label(const std::string&, t27::Colour) override {}
};

bool control(unsigned char c) { return c < 0x20 || c == 0x7F; }

bool hex_digit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

// Walks the wire one request at a time.
void check_wire(std::string_view wire) {
    std::size_t i = 0;
    while (i < wire.size()) {
        const std::size_t start = i;
        while (i < wire.size() && !control(static_cast<unsigned char>(wire[i]))) ++i;
        T27_FUZZ_CHECK(i < wire.size() && wire[i] == '\r');
        const bool edid_write = t27::cmdstr_cmd_get(wire.substr(start, i + 1 - start)) == "$edid_write";
        ++i;
        if (!edid_write) continue;
        if (i < wire.size() && wire[i] == '\n') ++i;
        // 128 "HH " triplets, then one CR.
        T27_FUZZ_CHECK(wire.size() - i >= 385);
        for (int b = 0; b < 128; ++b, i += 3)
            T27_FUZZ_CHECK(hex_digit(wire[i]) && hex_digit(wire[i + 1]) && wire[i + 2] == ' ');
        T27_FUZZ_CHECK(wire[i] == '\r');
        ++i;
    }
}

std::vector<std::string> params(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < size) {
        const std::size_t n = std::min<std::size_t>(data[i], size - i - 1);
        out.emplace_back(reinterpret_cast<const char*>(data + i + 1), n);
        i += 1 + n;
    }
    while (out.size() < 2) out.emplace_back();
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::uint8_t which = data[0];
    const std::uint8_t flags = data[1];
    const std::vector<std::string> p = params(data + 2, size - 2);

    t27::LinkState link;
    t27::UnitIdentity unit;
    unit.model_family = t27::family_v4;
    ReplyPump pump;
    SilentView view;
    t27::Engine engine(link, unit, pump, view);
    WireTransport port(pump);
    pump.to = &port;
    link.serial_open = true;
    link.ethernet_connected = true;
    link.link_interface = (flags & 1) ? t27::interface_rs232 : t27::interface_ethernet;
    engine.set_serial(&port);
    engine.set_ethernet(&port);
    const int number = p[1].empty() ? 0 : static_cast<unsigned char>(p[1][0]) - 20;

    switch (which % 9) {
        case 0:  // any request at all, as the command monitor or t27ctl send could give it
            engine.cmdtx_str(p[0]);
            break;
        case 1: {  // the motion text, checked as the field and t27ctl check it
            std::string bytes;
            if (t27::motion_text_problem(p[0], bytes).empty()) {
                t27::motion_text_request(engine, bytes);
                // Refused only for a reason of its own: the check let it through.
                T27_FUZZ_CHECK(link.cmdrx_status != t27::ReplyStatus::NotSent);
            }
            break;
        }
        case 2:  // a requester that skipped the check
            t27::motion_text_request(engine, p[0]);
            break;
        case 3: {
            std::string name;
            if (t27::slot_rename_problem(p[0], 5, name).empty()) {
                t27::slot_rename(engine, number, name);
                T27_FUZZ_CHECK(link.cmdrx_status != t27::ReplyStatus::NotSent);
            }
            t27::slot_rename(engine, number, p[0]);
            break;
        }
        case 4: {
            t27::EdidBuffer image;
            t27::edid_store(image, p[1]);
            t27::edid_write_unit(engine, p[0], image);
            break;
        }
        case 5:
            t27::edid_read_unit(engine, p[0]);
            break;
        case 6:
            t27::timing_request(engine, number);
            t27::pattern_request(engine, number * 7);
            break;
        case 7:  // a table entry with an argument appended, as the panel and poll build them
            engine.cmdtx_str(t27::command_text(number + 20) + p[0] + "\r");
            break;
        case 8: {  // typed text, encoded for the unit, then sent as a line
            std::string bytes, why;
            if (t27::unit_text_from_utf8(p[0], bytes, why, "The line")) {
                engine.cmdtx_str(bytes + "\r");
                T27_FUZZ_CHECK(link.cmdrx_status != t27::ReplyStatus::NotSent);
            }
            break;
        }
    }
    check_wire(port.wire);
    T27_FUZZ_CHECK(!link.cmdtx_busy);
    return 0;
}
