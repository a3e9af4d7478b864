#pragma once
// Video timings of the CTA-861 formats the simulated sources send, by VIC.
// Every scenario takes its timing from here, so two scenarios on one VIC
// cannot disagree about it.
#include <optional>

namespace t27::sim {

struct CtaTiming {
    int vic = 0;
    int pixel_khz = 0;
    int h_active = 0, h_front = 0, h_sync = 0, h_back = 0, h_total = 0;
    // For an interlaced format: the frame's active lines and total, and one
    // field's porches and sync.
    int v_active = 0, v_front = 0, v_sync = 0, v_back = 0, v_total = 0;
    bool interlaced = false;
    bool h_sync_positive = true;
    bool v_sync_positive = true;
    bool four_by_three = false;  // picture aspect; 16:9 otherwise
};

std::optional<CtaTiming> cta_timing(int vic);

}  // namespace t27::sim
