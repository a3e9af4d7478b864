#include "sim/cta_timings.h"

#include <string>

#include "edid/edit/timing_table.h"
#include "edid/vic_names.h"

namespace t27::sim {

namespace {

// The VIC names end in the picture aspect (some with blanks after it).
bool named_four_by_three(int vic) {
    std::string name = vic_name(vic);
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return name.ends_with(" 4:3");
}

}  // namespace

std::optional<CtaTiming> cta_timing(int vic) {
    const VideoTiming* v = video_timing_of_vic(vic);
    if (!v) return std::nullopt;
    CtaTiming t;
    t.vic = vic;
    t.pixel_khz = v->clock_10khz * 10;
    t.h_active = v->h_active;
    t.h_front = v->h_front;
    t.h_sync = v->h_sync;
    t.h_back = v->h_back;
    t.h_total = v->h_active + v->h_blank();
    t.v_front = v->v_front;
    t.v_sync = v->v_sync;
    t.v_back = v->v_back;
    t.interlaced = v->interlaced;
    // The table holds one field of an interlaced format; a frame is two
    // fields, the second half a line longer, which makes the odd total.
    const int field_total = v->v_active + v->v_blank();
    t.v_active = v->interlaced ? 2 * v->v_active : v->v_active;
    t.v_total = v->interlaced ? 2 * field_total + 1 : field_total;
    t.h_sync_positive = v->h_positive;
    t.v_sync_positive = v->v_positive;
    t.four_by_three = named_four_by_three(vic);
    return t;
}

}  // namespace t27::sim
