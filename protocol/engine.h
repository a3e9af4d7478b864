#pragma once
// The transaction engine: one request at a time, written on the selected
// transport, then waited for in 20 ms ticks while events keep running.
#include <array>
#include <cstdint>
#include <string>

#include "protocol/engine_view.h"
#include "protocol/link_state.h"
#include "protocol/pump.h"
#include "protocol/transport.h"
#include "protocol/unit_identity.h"

namespace t27 {

// Activity marker travel: shown during a wait, moved one step per tick.
inline constexpr int activity_start = 1950;
inline constexpr int activity_end = 3450;
inline constexpr int activity_step = 15;

// Wait limits in 20 ms ticks; an attempt waits at most limit + 1 ticks.
inline constexpr int ticks_default = 160;
inline constexpr int ticks_pattern_serial = 1500;
inline constexpr int ticks_pattern_ethernet = 500;
inline constexpr int ticks_boot_serial = 2;

class Engine {
  public:
    Engine(LinkState& link, UnitIdentity& unit, Pump& pump, EngineView& view);

    // Transports are owned elsewhere; either may be null (treated as closed).
    void set_serial(Transport* t);
    void set_ethernet(Transport* t);
    Transport* selected() const;

    // True when the selected transport may carry a request.
    bool link_open() const;

    // Runs one transaction; the outcome is link().cmdrx_status and the reply fields.
    void cmdtx_str(const std::string& request);

    // Splits link().cmdrx_str into cmdrx_param1..3.
    void cmdrx_param_get();

    // One batch of received characters, in arrival order.
    void receive_pass(const std::string& batch);

    // The EDID write buffer's first two blocks, sent after "$edid_write" lines.
    std::array<std::uint8_t, 256>& edid_tx_data() { return edid_tx_; }

    LinkState& link() { return link_; }
    UnitIdentity& unit() { return unit_; }
    Pump& pump() { return pump_; }
    EngineView& view() { return view_; }
    int activity_position() const { return activity_pos_; }

  private:
    enum class Step { Ok, Failed, Closing };

    Step attempt(Transport& t, const std::string& request, const std::string& word);
    bool write_edid_request(Transport& t, const std::string& request, bool serial);
    void reset_reply_fields();
    void wait_reply(int limit);
    void finish_failed(const std::string& request);
    // The link label after a transaction: "Not Linked" when the link closed
    // or is no longer identified, else what the status says.
    void show_outcome(const std::string& request);
    void log_char(unsigned char c, bool in_block);

    LinkState& link_;
    UnitIdentity& unit_;
    Pump& pump_;
    EngineView& view_;
    Transport* serial_ = nullptr;
    Transport* ethernet_ = nullptr;
    std::array<std::uint8_t, 256> edid_tx_{};
    int activity_pos_ = activity_start;
};

// The first parameter of the reply just received. The engine splits a reply
// only when its command word matched, so an answer to some other command
// would otherwise leave the previous reply's parameter behind.
inline std::string reply_param1(Engine& engine) {
    engine.cmdrx_param_get();
    return engine.link().cmdrx_param1;
}

// The "HH " triplets of a run of EDID bytes, upper-case hex.
std::string edid_triplets(const std::uint8_t* bytes, std::size_t count);

// The monitor log form of one received character outside a data block:
// "<CR>", "<LF>" + CR LF, "<1B>" for other controls, the character otherwise.
std::string monitor_escape(unsigned char c);

}  // namespace t27
