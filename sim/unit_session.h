#pragma once
// One connection to the unit: the request parser and the armed faults in
// front of a UnitModel that several sessions (one after another) share.
#include <string>
#include <vector>

#include "sim/emission.h"
#include "sim/request_parser.h"
#include "sim/unit_model.h"

namespace t27::sim {

class UnitSession {
  public:
    explicit UnitSession(UnitModel& model);

    // Bytes the program sent, in whatever pieces; returns what the unit
    // sends back, in order.
    std::vector<Emission> feed(const std::string& bytes);

    // Every byte received so far, exactly as it arrived.
    const std::string& wire_log() const { return wire_log_; }

    // A close fault fired: the connection is over and further bytes are
    // logged but not answered.
    bool closed() const { return closed_; }

    UnitModel& model() { return model_; }

  private:
    UnitModel& model_;
    RequestParser parser_;
    std::string wire_log_;
    bool closed_ = false;
};

}  // namespace t27::sim
