// The Packet section of the monitor report: each packet's label, its raw
// bytes and its decoded fields.
#include "analyser/commands.h"
#include "analyser/packet_bytes.h"
#include "analyser/packet_decode.h"
#include "analyser/packet_texts.h"
#include "analyser/report_rules.h"
#include "analyser/value_text.h"

namespace t27::report {

namespace {

using namespace cmd;

// Writes the label and, when the unit sent a packet, its raw block; returns
// whether there is a packet to decode. The caller closes with an empty line.
bool packet_head(ReportItem& r, std::string_view label, PacketKind kind,
                 bool AnalyserState::*present) {
    const bool there = packet_present(r.p2());
    r.state.*present = there;
    if (!there) {
        r.line(std::string(label) + "off");
        r.line("");
        return false;
    }
    const std::string packet = packet_string(r.p2());
    r.line(std::string(label));
    for (std::string& l : raw_packet_lines(packet)) r.line(std::move(l));
    decode_packet(kind, packet, r.state.packet);
    return true;
}

// "Not Indicated" and "Reserved" follow a blank; a depth brings its own.
std::string depth_value(int depth) {
    if (depth == 0 || depth == packet_none_marker) return " " + gcp_color_depth_text(depth);
    return lead_blank(depth);
}

void gcp(ReportItem& r) {
    if (!packet_head(r, "Source GCP = ", PacketKind::Gcp, &AnalyserState::GcpPresent)) return;
    const PacketFields& f = r.state.packet;
    r.line("   AVMute = " + gcp_av_mute_text(f.AvMute));
    r.line("   Color Depth =" + depth_value(f.ColorDepth));
    r.line("");
}

void avi(ReportItem& r) {
    if (!packet_head(r, "Source AVI = ", PacketKind::Avi, &AnalyserState::AviPresent)) return;
    const PacketFields& f = r.state.packet;
    r.line("   Color Space = " + avi_color_space_text(f.ColorSpace));
    r.line("   Colorimetry = " + avi_colorimetry_text(f.Colorimetry));
    r.line("   IT Content = " + avi_it_content_text(f.ItContent));
    r.line("   Extended Colorimetry = " + avi_ext_colorimetry_text(f.ExtColorimetry));
    r.line("   VIC = " + avi_vic_text(f.Vic));
    r.line("   Pixel Repitition = x" + std::to_string(f.PixelRepetition));
    r.line("");
}

void aif(ReportItem& r) {
    if (!packet_head(r, "Source AIF = ", PacketKind::Aif, &AnalyserState::AifPresent)) return;
    const PacketFields& f = r.state.packet;
    r.line("   Coding Type   = " + f.CodingTypeText);
    r.line("   Channel No.   = " + f.ChannelCountText);
    r.line("   Sampling Rate = " + f.SampleRateText);
    r.line("   Sampling Size = " + f.SampleSizeText);
    r.line("   Ext. Coding   = " + f.ExtCodingTypeText);
    r.line("   Speaker Place = " + f.SpeakerPlacementText);
    r.line("   Down Mix.     = " + f.DownMixText);
    r.line("");
}

void spd(ReportItem& r) {
    if (!packet_head(r, "Source SPD = ", PacketKind::Spd, &AnalyserState::SpdPresent)) return;
    const PacketFields& f = r.state.packet;
    r.line("   Vendor     = " + f.VendorName);
    r.line("   Product    = " + f.ProductDescription);
    r.line("   Information= " + f.SourceDeviceText);
    r.line("");
}

void vsi(ReportItem& r) {
    if (!packet_head(r, "Source VSI = ", PacketKind::Vsi, &AnalyserState::VsiPresent)) return;
    const PacketFields& f = r.state.packet;
    r.line("   IEEE ID           = " + f.IeeeIdText);
    r.line("   HDMI Video Format = " + f.VideoFormatText);
    r.line("   Ext.HDMI VIC      = " + vsi_hdmi_vic_text(f.HdmiVic));
    r.line("   3D Structure      = " + f.ThreeDStructureText);
    r.line("");
}

void drm(ReportItem& r) {
    if (!packet_head(r, "Source DRMI= ", PacketKind::Drm, &AnalyserState::DrmiPresent)) return;
    const PacketFields& f = r.state.packet;
    r.line("   EOTF     = " + f.EotfText);
    r.line("   Metadata = " + f.MetadataText);
    r.line("   Max. Content Light Level       =" + lead_blank(f.MaxContentLightLevel));
    r.line("   Max. Frame-Average Light Level =" + lead_blank(f.MaxFrameAverageLightLevel));
    r.line("");
}

constexpr RuleEntry specials[] = {
    {sd_gcp, gcp}, {sd_avi, avi}, {sd_aif, aif}, {sd_spd, spd}, {sd_vsi, vsi}, {sd_drmi, drm},
};

}  // namespace

SectionRules packet_rules() { return {{}, specials}; }

}  // namespace t27::report
