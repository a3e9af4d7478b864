#pragma once
// What the parts of MainWindow (main_window*.cpp) share.

namespace t27 {

inline constexpr int window_width_twips = 11580;
inline constexpr int window_height_twips = 10740;
inline constexpr int eth_connect_ms = 7000;

}  // namespace t27
