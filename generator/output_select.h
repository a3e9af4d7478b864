#pragma once
// The rules of the Output Resolution and Pattern tabs that do not depend on
// widgets: which numbers may be output, how a read-back number is taken, and
// which pattern extras a selection shows.
#include <string>
#include <string_view>

namespace t27 {

// Timing 88 follows the analyser's input, so it exists only in analyser mode.
inline constexpr int timing_follow_input = 88;
// Patterns that scroll a user text, and the pattern with its own colour
// window on the one unit variant that has it.
inline constexpr int pattern_motion_a = 41;
inline constexpr int pattern_motion_b = 42;
inline constexpr int pattern_colour_cal = 12;

bool timing_output_allowed(int n, int task_mode);

// The list entry for a "$timing? " / "$pattern? " reply: the leading decimal
// number of the text rounded to an integer; anything outside 1..count
// (including a text with no number, or one too large for the unit's 16-bit
// numbers) stands for entry 1.
int readback_entry(std::string_view param, int count);

// The unit variant whose catalogue has the colour calibration pattern and no
// motion text.
bool colour_variant(std::string_view linked_model, int model_family);

struct PatternExtras {
    bool motion_visible = false;
    bool colour_visible = false;
    bool colour_enabled = false;
};

// What the selection of pattern `n` shows, with `current` being output.
PatternExtras pattern_extras_show(int n, int current, bool variant);

struct PatternReadbackExtras {
    bool query_motion_text = false;
    bool set_colour_visible = false;  // only the variant touches the button
    // The pattern read back is the one being output, so a shown button also
    // works.
    bool colour_visible = false;
};

// What the read-back of pattern `n` does besides selecting it.
PatternReadbackExtras pattern_readback_extras(int n, bool variant);

// The field's text without its leading and trailing blanks.
std::string trim_blanks(std::string_view text);

}  // namespace t27
