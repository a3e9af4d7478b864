#pragma once
// Layout positions in the design are given in twips (1/1440 inch). The screen
// is taken as 96 dots per inch, so 15 twips make one pixel.

namespace t27 {

inline constexpr int twips_per_pixel = 15;

constexpr int twips_to_px(int twips) {
    return (twips >= 0 ? twips + twips_per_pixel / 2 : twips - twips_per_pixel / 2) /
           twips_per_pixel;
}

}  // namespace t27
