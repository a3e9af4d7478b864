#pragma once
// The simulated unit: request in, reply out, state inside. Qt-free so the
// engine tests can run it in-process and the front ends can serve it.
#include <cstdint>
#include <functional>
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

  private:
    UnitState state_;
    FaultPlan faults_;
    HandlerTable handlers_;
    Clock clock_;
};

}  // namespace t27::sim
