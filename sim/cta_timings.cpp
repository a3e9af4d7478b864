#include "sim/cta_timings.h"

namespace t27::sim {

namespace {

// clang-format off
constexpr CtaTiming timings[] = {
//   vic  pixel    ha   hfp  hs   hbp  ht     va   vfp vs  vbp vt    inter  h+     v+     4:3
    {2,   27000,   720,  16, 62,  60,  858,   480,  9, 6,  30, 525,  false, false, false, true},
    {4,   74250,  1280, 110, 40, 220, 1650,   720,  5, 5,  20, 750,  false, true,  true,  false},
    {16, 148500,  1920,  88, 44, 148, 2200,  1080,  4, 5,  36, 1125, false, true,  true,  false},
    {19,  74250,  1280, 440, 40, 220, 1980,   720,  5, 5,  20, 750,  false, true,  true,  false},
    {20,  74250,  1920, 528, 44, 148, 2640,  1080,  2, 5,  15, 1125, true,  true,  true,  false},
    {32,  74250,  1920, 638, 44, 148, 2750,  1080,  4, 5,  36, 1125, false, true,  true,  false},
    {96, 594000,  3840, 1056, 88, 296, 5280, 2160,  8, 10, 72, 2250, false, true,  true,  false},
    {97, 594000,  3840, 176, 88, 296, 4400,  2160,  8, 10, 72, 2250, false, true,  true,  false},
};
// clang-format on

}  // namespace

std::optional<CtaTiming> cta_timing(int vic) {
    for (const CtaTiming& t : timings)
        if (t.vic == vic) return t;
    return std::nullopt;
}

}  // namespace t27::sim
