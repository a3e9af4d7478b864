#pragma once
// Rules of the colour calibration window: its colour list, the components it
// sets, and which typed or reported values it takes.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace t27 {

inline constexpr int calibrate_user_entry = 7;
inline constexpr int calibrate_max_value = 255;

inline constexpr std::array<const char*, 8> calibrate_colours = {
    "White", "Red", "Green", "Blue", "Yellow", "Magenta", "Cyan", "User"};

enum class CalComponent { level, red, green, blue };
inline constexpr std::array<CalComponent, 3> calibrate_user_components = {
    CalComponent::red, CalComponent::green, CalComponent::blue};

// "$color_cal_red " + value and its query, without CR.
std::string calibrate_set_request(CalComponent c, std::string_view value);
std::string calibrate_query(CalComponent c);
std::string calibrate_colour_request(int entry);  // "$color_cal_color " + entry text
std::string calibrate_colour_query();

// The first entry whose text in lower case equals the reply, or -1.
int calibrate_colour_entry(std::string_view reply);

struct CalibrateEntry {
    bool valid = false;
    int value = 0;
    std::string text;  // what is sent: the typed digits, leading zeros kept
};

// A typed value: blanks around it ignored, then digits only, at most 255.
CalibrateEntry calibrate_typed_value(std::string_view typed);

// The scroll-bar position for a reported value; nothing for a text that is
// not a number 0..255 (the text is shown, the bar stays where it is).
std::optional<int> calibrate_reply_value(std::string_view reply);

}  // namespace t27
