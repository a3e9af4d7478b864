#include "analyser/packet_bytes.h"
#include "analyser/packet_decode.h"
#include "analyser/packet_texts.h"
#include "analyser/reply_rules.h"

namespace t27::rules {

namespace {

// Decodes the reply's packet into the state when the unit sent one.
bool decode_present(Decoding& d, PacketKind kind, bool AnalyserState::*present) {
    const bool there = packet_present(d.p2());
    d.state.*present = there;
    if (there) decode_packet(kind, packet_string(d.p2()), d.state.packet);
    return there;
}

void indicator(Decoding& d, std::string_view control, bool there) {
    d.colour(control, there ? analyser_colour::black : analyser_colour::grey);
}

// A packet that stopped: its first cell says so, the rest of its cells empty.
void packet_off(Decoding& d, int first, int last, std::string caption) {
    d.cell(packet_cell, first, std::move(caption));
    for (int n = first + 1; n <= last; ++n) d.cell(packet_cell, n, "");
}

}  // namespace

void packet_avi(Decoding& d) {
    const bool there = decode_present(d, PacketKind::Avi, &AnalyserState::AviPresent);
    const PacketFields& f = d.state.packet;
    if (d.view() == view_system) {
        d.text("lab_source_cscx", there ? avi_color_space_text(f.ColorSpace) : "None");
        indicator(d, "lab_source_avi", there);
    }
    if (d.view() != view_packet) return;
    if (!there) return packet_off(d, 2, 7, "AVI Off");
    d.cell(packet_cell, 2, avi_color_space_text(f.ColorSpace));
    d.cell(packet_cell, 3, avi_colorimetry_text(f.Colorimetry));
    d.cell(packet_cell, 4, avi_it_content_text(f.ItContent));
    d.cell(packet_cell, 5, avi_ext_colorimetry_text(f.ExtColorimetry));
    d.cell(packet_cell, 6, avi_vic_text(f.Vic));
    d.cell(packet_cell, 7, "x" + std::to_string(f.PixelRepetition));
}

void packet_gcp(Decoding& d) {
    const bool there = decode_present(d, PacketKind::Gcp, &AnalyserState::GcpPresent);
    const PacketFields& f = d.state.packet;
    if (d.view() == view_system) {
        indicator(d, "lab_source_gcp", there);
        d.text("lab_source_avmutex", there ? gcp_av_mute_text(f.AvMute) : "None");
        d.text("lab_source_dcx", there ? gcp_color_depth_text(f.ColorDepth) : "None");
    }
    if (d.view() != view_packet) return;
    if (!there) return packet_off(d, 0, 1, "GCP Off");
    d.cell(packet_cell, 0, gcp_av_mute_text(f.AvMute));
    d.cell(packet_cell, 1, gcp_color_depth_text(f.ColorDepth));
}

void packet_aif(Decoding& d) {
    const bool there = packet_present(d.p2());
    if (d.view() == view_system) indicator(d, "lab_source_aif", there);
    if (d.view() == view_audio_timing) d.cell(audio_cell, 0, there ? "On" : "Off");
    if (d.view() != view_packet) return;
    decode_present(d, PacketKind::Aif, &AnalyserState::AifPresent);
    if (!there) return packet_off(d, 8, 14, "AIF Off");
    const PacketFields& f = d.state.packet;
    d.cell(packet_cell, 8, f.CodingTypeText);
    // The stored count keeps a leading blank for the report; the cell does not.
    const std::string& count = f.ChannelCountText;
    d.cell(packet_cell, 9, !count.empty() && count[0] == ' ' ? count.substr(1) : count);
    d.cell(packet_cell, 10, f.SampleRateText);
    d.cell(packet_cell, 11, f.SampleSizeText);
    d.cell(packet_cell, 12, f.ExtCodingTypeText);
    d.cell(packet_cell, 13, f.SpeakerPlacementText);
    d.cell(packet_cell, 14, f.DownMixText);
}

void packet_spd(Decoding& d) {
    if (!decode_present(d, PacketKind::Spd, &AnalyserState::SpdPresent)) {
        return packet_off(d, 15, 17, "SPD Off");
    }
    const PacketFields& f = d.state.packet;
    d.cell(packet_cell, 15, f.VendorName);
    d.cell(packet_cell, 16, f.ProductDescription);
    d.cell(packet_cell, 17, f.SourceDeviceText);
}

void packet_vsi(Decoding& d) {
    const bool there = decode_present(d, PacketKind::Vsi, &AnalyserState::VsiPresent);
    if (d.view() == view_system) indicator(d, "lab_source_vsi", there);
    if (d.view() != view_packet) return;
    if (!there) return packet_off(d, 18, 21, "VSI Off");
    const PacketFields& f = d.state.packet;
    d.cell(packet_cell, 18, f.IeeeIdText);
    d.cell(packet_cell, 19, f.VideoFormatText);
    if (vsi_hdmi_vic_has_text(f.HdmiVic)) d.cell(packet_cell, 20, vsi_hdmi_vic_text(f.HdmiVic));
    d.cell(packet_cell, 21, f.ThreeDStructureText);
}

void packet_drm(Decoding& d) {
    const bool there = decode_present(d, PacketKind::Drm, &AnalyserState::DrmiPresent);
    if (d.view() == view_system) indicator(d, "lab_source_drmi", there);
    if (d.view() != view_packet) return;
    if (!there) return packet_off(d, 22, 25, "DRMI Off");
    const PacketFields& f = d.state.packet;
    d.cell(packet_cell, 22, f.EotfText);
    d.cell(packet_cell, 23, f.MetadataText);
    d.cell(packet_cell, 24, std::to_string(f.MaxContentLightLevel));
    d.cell(packet_cell, 25, std::to_string(f.MaxFrameAverageLightLevel));
}

}  // namespace t27::rules
