#pragma once
// Button colours of the generator tabs, 0x00BBGGRR like every colour in the
// logic layer.
#include "common/colours.h"

namespace t27 {

namespace gen_colour {
inline constexpr Colour lit = 49152;  // the unit's current value
inline constexpr Colour favourite_idle = 14737632;
inline constexpr Colour panel_idle = 12632256;  // also every panel button's first colour
inline constexpr Colour panel_talk = 3158271;   // output HDCP still negotiating
}  // namespace gen_colour

}  // namespace t27
