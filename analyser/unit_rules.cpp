#include "analyser/audio_source.h"
#include "analyser/reply_rules.h"
#include "analyser/value_text.h"

namespace t27::rules {

namespace {

constexpr std::string_view rx_hdcp_label = "lab_v4_rx_hdcpx";
constexpr std::string_view tx_hdcp_label = "lab_v4_tx_hdcpx";
constexpr std::string_view out_audio_label = "lab_v4_out_audiox";

}  // namespace

void rx_edid_manufacturer(Decoding& d) { d.text("lab_v4_rx_edid3x", d.p2() + "."); }
void sink_edid_manufacturer(Decoding& d) { d.text("lab_sink_rx_edid3x", d.p2() + "."); }

void hdcp_in_switch(Decoding& d) {
    if (d.p1() == "on") {
        d.state.HdcpInOn = true;
        if (d.caption(std::string(rx_hdcp_label)) == "off") d.text(rx_hdcp_label, "on");
    } else if (d.p1() == "off") {
        d.state.HdcpInOn = false;
        if (d.view() == view_system) d.text(rx_hdcp_label, "off");
        if (d.view() == view_hdcp_scdc) d.cell(hdcp_cell, 2, "Off");
    }
}

void hdcp_in_version(Decoding& d) {
    if (!d.state.HdcpInOn) return;
    if (d.view() == view_system) d.text(rx_hdcp_label, d.p1());
    if (d.view() == view_hdcp_scdc) d.cell(hdcp_cell, 2, d.p1());
}

void hdcp_out_switch(Decoding& d) {
    if (d.p1() != "off") {
        d.state.HdcpOutOn = true;
        d.state.HdcpOutPass = hdcp_out_passes(d.p1());
        return;
    }
    d.state.HdcpOutOn = false;
    d.state.HdcpOutPass = true;
    d.colour(tx_hdcp_label, analyser_colour::black);
    d.colour(cell_name(hdcp_cell, 0), analyser_colour::black);
    if (d.view() == view_system) d.text(tx_hdcp_label, "Off");
    if (d.view() == view_hdcp_scdc) d.cell(hdcp_cell, 0, "Off");
}

void hdcp_out_version(Decoding& d) {
    if (!d.state.HdcpOutOn) return;
    const bool pass = d.state.HdcpOutPass;
    const Colour c = pass ? analyser_colour::black : analyser_colour::fail;
    d.colour(tx_hdcp_label, c);
    d.colour(cell_name(hdcp_cell, 0), c);
    const std::string shown = d.p1() + (pass ? "  Pass" : "  Fail");
    if (d.view() == view_system) d.text(tx_hdcp_label, shown);
    if (d.view() == view_hdcp_scdc) d.cell(hdcp_cell, 0, shown);
}

void rx_scdc(Decoding& d) {
    if (d.view() == view_system) d.text("lab_v4_rx_scdcx", d.p1());
    if (d.view() == view_hdcp_scdc) d.cell(hdcp_cell, 7, d.p1());
}

void pattern_number(Decoding& d) {
    d.text("lab_v4_patternx", pattern_text(d.p1(), d.context.patterns));
}

void audio_mute(Decoding& d) {
    d.state.AudioMuted = d.p1() == "on";
    if (d.state.AudioMuted) d.text(out_audio_label, "Mute");
}

void audio_source(Decoding& d) {
    if (d.state.AudioMuted) return;
    const AudioSourceName* source = find_audio_source(d.p1());
    if (source == nullptr) return;
    d.state.AudioSourceCode = source->code;
    d.text(out_audio_label, std::string(source->shown));
}

void audio_channels(Decoding& d) {
    const bool blank = d.state.AudioMuted || d.state.AudioSourceCode == audio_source_hdmi;
    d.text("lab_v4_out_audio_chx", blank ? std::string() : d.p1());
}

void sink_hdcp(Decoding& d) {
    d.text("lab_sink_rx_hdcpx", d.p2());
    if (d.view() == view_hdcp_scdc) d.cell(hdcp_cell, 2, d.p2());
}

void sink_scdc(Decoding& d) {
    if (d.view() == view_system) d.text("lab_sink_rx_scdcx", d.p2());
    if (d.view() == view_hdcp_scdc) d.cell(hdcp_cell, 7, d.p2());
}

}  // namespace t27::rules
