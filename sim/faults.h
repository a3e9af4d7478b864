#pragma once
// Misbehaviour the simulated unit can be told to show, to exercise the
// program's timeouts, retries and error paths. Faults are one-shot unless
// noted and apply to the next reply the unit would send.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sim/emission.h"
#include "sim/reply.h"

namespace t27::sim {

struct FaultPlan {
    int drop = 0;                          // replies still to swallow
    std::int64_t delay_ms = 0;             // every reply waits this long (stays until changed)
    std::vector<std::string> unsolicited;  // lines sent before the next reply
    bool err = false;                      // next reply's first parameter becomes "err"
    bool wrong_word = false;               // next reply carries another command word
    std::size_t garbage = 0;               // bytes of noise before the next reply
    bool close = false;                    // close instead of answering the next request
    bool close_mid_block = false;          // close halfway through the next data block
    bool dup = false;                      // next reply is sent twice
    std::uint32_t noise_seed = 0x2718u;    // garbage is repeatable from run to run

    void clear();
    bool armed() const;
};

// Arms one fault from its text form, as given on the command line and on the
// control channel: "drop N", "delay MS", "unsolicited LINE", "err",
// "wrongword", "garbage N", "close", "close-mid-block", "dup", "clear".
// Returns an empty text on success, else what was wrong.
std::string arm_fault(FaultPlan& plan, std::string_view form);

// Whether `name` is the first word of one of the forms above.
bool is_fault_name(std::string_view name);

// The word the "wrongword" fault puts in place of the real one.
inline constexpr std::string_view wrong_word_text = "$wrongword";

// Turns the unit's reply into what goes on the wire under the armed faults,
// using up the one-shot ones that fired.
std::vector<Emission> apply_faults(FaultPlan& plan, std::string_view request_word,
                                   const Reply& reply);

}  // namespace t27::sim
