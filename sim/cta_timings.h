#pragma once
// A VIC's timing as the unit's receiver measures it: whole frames, totals
// and the pixel clock in kHz. The numbers come from the program's own VIC
// timing table, so the simulated sources and the EDID editor cannot disagree
// about a format.
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

// Nothing for a VIC the timing table does not hold.
std::optional<CtaTiming> cta_timing(int vic);

}  // namespace t27::sim
