#include <array>
#include <utility>

#include "analyser/reply_rules.h"
#include "analyser/value_text.h"

namespace t27::rules {

namespace {

using WordMap = std::array<std::pair<std::string_view, std::string_view>, 2>;

// An audio item that only means something while sample packets flow. A word
// outside the map changes nothing.
void gated_word(Decoding& d, int cell, const WordMap& words) {
    if (!d.state.AspActive) return d.cell(audio_cell, cell, "None");
    for (const auto& [word, shown] : words) {
        if (d.p2() == word) return d.cell(audio_cell, cell, std::string(shown));
    }
}

void gated_value(Decoding& d, int cell) {
    d.cell(audio_cell, cell, d.state.AspActive ? d.p2() : std::string("None"));
}

}  // namespace

void pixel_clock(Decoding& d) {
    d.cell(video_cell, 2, d.p2());
    d.state.PixelClockHz = pixel_clock_hz_from(d.p2());
}

void data_rate(Decoding& d) { d.cell(video_cell, 3, data_rate_text(d.p2())); }

void h_total(Decoding& d) {
    d.cell(video_cell, 5, d.p2());
    d.state.HTotal = total_from(d.p2());
}

void h_sync_polarity(Decoding& d) {
    d.cell(video_cell, 10, d.p2());
    d.cell(video_cell, 4,
           std::to_string(horizontal_frequency(d.state.PixelClockHz, d.state.HTotal)));
}

void v_total(Decoding& d) {
    d.cell(video_cell, 15, d.p2());
    d.state.VTotal = total_from(d.p2());
}

void scan_mode(Decoding& d) {
    if (d.p2() == "i" || d.p2() == "p") d.state.ScanLetter = d.p2();
    d.cell(video_cell, 13, scan_mode_text(d.p2()));
    d.cell(video_cell, 14,
           vertical_frequency_text(d.state.PixelClockHz, d.state.HTotal, d.state.VTotal,
                                   d.state.ScanLetter));
}

void asp_pll(Decoding& d) { gated_word(d, 6, {{{"lock", "Locked"}, {"unlock", "Unlocked"}}}); }
void asp_fifo(Decoding& d) { gated_word(d, 7, {{{"nor", "Normal"}, {"err", "Error"}}}); }
void chs_type(Decoding& d) { gated_word(d, 10, {{{"c", "Consumer"}, {"p", "Professional"}}}); }
void asp_layout(Decoding& d) { gated_value(d, 8); }
void asp_channels(Decoding& d) { gated_value(d, 9); }
void chs_sample_rate(Decoding& d) { gated_value(d, 12); }
void chs_sample_size(Decoding& d) { gated_value(d, 13); }

}  // namespace t27::rules
