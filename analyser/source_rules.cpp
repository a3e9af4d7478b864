#include "analyser/reply_rules.h"
#include "analyser/value_text.h"

namespace t27::rules {

namespace {
constexpr std::string_view audio_label = "lab_source_audiox";
constexpr std::string_view hbr_text = "HBR";

// The audio label of the System view. An HBR stream carries no audio sample
// packets, so "asp" reads off and the channel-status items are not gated in:
// those two must not wipe the "HBR" that "hbr" wrote in the same cycle, or an
// HBR source would show "None" for all but a tick of each cycle. "hbr" going
// off clears it again.
bool audio_shows_hbr(const Decoding& d) { return d.caption(std::string(audio_label)) == hbr_text; }
}  // namespace

void source_timing(Decoding& d) {
    if (d.view() == view_system) d.text("lab_source_resox", d.p2());
    if (d.view() == view_video_timing) d.cell(video_cell, 0, d.p2());
}

void source_hdcp(Decoding& d) {
    if (d.view() == view_system) d.text("lab_source_hdcpx", d.p2());
    if (d.view() == view_hdcp_scdc) d.cell(hdcp_cell, 0, d.p2());
}

void source_asp(Decoding& d) {
    if (d.p2() == "on") {
        d.state.AspActive = true;
        if (d.view() == view_system && audio_shows_hbr(d)) d.text(audio_label, "ASP");
        if (d.view() == view_audio_timing) d.cell(audio_cell, 5, "On");
    } else {
        // Without sample packets the gated items have nothing to describe; a
        // flag left set would flip the audio label between "None" and the
        // channel status every cycle once a source stops sending audio.
        d.state.AspActive = false;
        if (d.view() == view_system && !audio_shows_hbr(d)) d.text(audio_label, "None");
        if (d.view() == view_audio_timing) d.cell(audio_cell, 5, "Off");
    }
}

void source_hbr(Decoding& d) {
    if (d.p2() == "on") {
        d.state.AspActive = false;
        if (d.view() == view_system) d.text(audio_label, std::string(hbr_text));
        if (d.view() == view_audio_timing) d.cell(audio_cell, 1, "On");
    } else {
        if (d.view() == view_system && audio_shows_hbr(d)) d.text(audio_label, "None");
        if (d.view() == view_audio_timing) d.cell(audio_cell, 1, "Off");
    }
}

void source_chs_code(Decoding& d) {
    if (d.state.AspActive) {
        if (d.view() == view_system) d.text(audio_label, upper_text(d.p2()));
        if (d.view() == view_audio_timing) d.cell(audio_cell, 11, upper_text(d.p2()));
    } else {
        if (d.view() == view_system && !audio_shows_hbr(d)) d.text(audio_label, "None");
        if (d.view() == view_audio_timing) d.cell(audio_cell, 11, "None");
    }
}

}  // namespace t27::rules
