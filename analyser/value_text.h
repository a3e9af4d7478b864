#pragma once
// Numbers and texts the analyser derives from reply values.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace t27 {

// The number after one blank when it is not negative; "-5" otherwise.
std::string lead_blank(std::int64_t n);

// Upper case in the 8-bit code page (Latin-1 letters included).
std::string upper_text(std::string_view text);

// The leading number of a reply value: blanks skipped, an optional sign, digits
// with an optional fraction. Anything else ends it; no number reads 0.
double leading_number(std::string_view text);

// Nearest integer, ties to even, clamped to [lo, hi] so an absurd reply can
// never overflow.
std::int64_t nearest_integer(double value, std::int64_t lo, std::int64_t hi);

// A data rate in thousandths of a Gbps: a point before the last three digits
// ("5940" -> "5.940", "594" -> "0.594"). "None" stays "None". A shorter run of
// digits is padded with zeros ("59" -> "0.059"); any other short value is
// shown as it came.
std::string data_rate_text(std::string_view value);

// Pixel clock / horizontal total, nearest integer (ties to even); 0 when the
// total is 0.
std::int64_t horizontal_frequency(std::int64_t pixel_clock_hz, std::int64_t h_total);

// Pixel clock / (vertical total x horizontal total), doubled for an interlaced
// scan, as "###.00": two decimals and no leading zero below 1 (".50"). "?" when
// either total is 0.
std::string vertical_frequency_text(std::int64_t pixel_clock_hz, std::int64_t h_total,
                                    std::int64_t v_total, std::string_view scan_letter);

// A pixel clock reply in kHz as Hz; 0 for "None".
std::int64_t pixel_clock_hz_from(std::string_view value);

// A horizontal or vertical total; 0 for "None".
std::int64_t total_from(std::string_view value);

// "i" shows "Interlace", "p" "Progressive", anything else as it came.
std::string scan_mode_text(std::string_view value);

// The text of the pattern list entry at the 1-based position the unit sent. A
// position the list does not hold shows the value as the unit sent it, so a
// catalogue that lags the unit's firmware still tells the user something.
std::string pattern_text(std::string_view position, std::span<const std::string> patterns);

// "$hdcp_out_sw?" ends its value with "on" when authentication passed.
bool hdcp_out_passes(std::string_view value);

}  // namespace t27
