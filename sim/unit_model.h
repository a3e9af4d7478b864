#pragma once
// The simulated unit: request in, reply out, state inside. Qt-free so the
// engine tests can run it in-process and the front ends can serve it.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/faults.h"
#include "sim/handler_table.h"
#include "sim/reply.h"
#include "sim/request.h"
#include "sim/unit_state.h"

namespace t27::sim {

class UnitModel {
  public:
    UnitModel();

    // The unit's answer to one request. Faults are not applied here; the
    // session does that when it turns replies into bytes on the wire.
    Reply handle(const Request& request);
    // Convenience for a plain line without a data block (no CR).
    Reply handle_line(std::string_view line);

    UnitState& state() { return state_; }
    const UnitState& state() const { return state_; }

    // Armed faults, shared by every connection to this unit.
    FaultPlan& faults() { return faults_; }

    // The unit's own time in milliseconds, for anything it runs by the clock
    // (a cable test, timers). Steady time by default; in-process tests hand
    // in their virtual clock.
    using Clock = std::function<std::int64_t()>;
    void set_clock(Clock clock) { clock_ = std::move(clock); }
    std::int64_t now_ms() const { return clock_(); }

    // Later additions (scenarios, catalogues) add or replace entries here.
    HandlerTable& handlers() { return handlers_; }
    const HandlerTable& handlers() const { return handlers_; }

    // Attaches a sink by name (see choose_sink) or detaches it with "none";
    // the sink status items follow. False for an unknown name.
    bool attach_sink(std::string_view which);

    // Settings, slots and task mode back to their first-start values; the
    // identity stays.
    void factory_reset();

    // The source sends `scenario` for `ms` milliseconds from now, then what
    // it sent before. A glitch still running ends first. Every reply made
    // from `ms` on sees the old signal again, whenever the front end next
    // looks at its clock.
    void glitch(std::string_view scenario, std::int64_t ms);
    // Ends a running glitch whose time is up, or any running glitch with
    // `cancel` (a new scenario replaces both).
    void settle_glitch(bool cancel = false);
    // Milliseconds until the running glitch ends; nothing when none runs.
    std::optional<std::int64_t> glitch_left_ms() const;

    // Told each start and end of a glitch, with the unit's clock reading and
    // a line to log.
    using GlitchLog = std::function<void(std::int64_t at_ms, const std::string& line)>;
    void set_glitch_log(GlitchLog log) { glitch_log_ = std::move(log); }

  private:
    struct Glitch {
        std::int64_t end_ms = 0;
        std::string scenario;  // the one it switched to
        std::map<std::string, std::string, std::less<>> items;  // to go back to
        std::string restored;  // and its name
    };
    std::optional<Glitch> glitch_;
    GlitchLog glitch_log_;

    UnitState state_;
    FaultPlan faults_;
    HandlerTable handlers_;
    Clock clock_;
};

}  // namespace t27::sim
