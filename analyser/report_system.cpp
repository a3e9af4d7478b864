// The System section of the monitor report.
#include "analyser/audio_source.h"
#include "analyser/commands.h"
#include "analyser/packet_bytes.h"
#include "analyser/packet_decode.h"
#include "analyser/packet_texts.h"
#include "analyser/report_rules.h"
#include "analyser/value_text.h"
#include "protocol/unit_identity.h"

namespace t27::report {

namespace {

using namespace cmd;

constexpr LineRule lines[] = {
    {sd_5v, false, false, false, "Source +5V   = ", ""},
    {sd_ckdt, false, false, false, "Source Clock = ", ""},
    {sd_scdt, false, false, false, "Source Sync  = ", ""},
    {sd_timingx, false, false, false, "Source Resolution  = ", ""},
    {sd_tmds_format, false, false, true, "Source TMDS Format = ", ""},
    {sd_hdcp, false, false, false, "Source Tx HDCP = ", ""},
    {rx_hotplug_q, true, true, false, " Rx Hotplug = ", ""},
    {rx_sense_q, true, true, false, " Rx Sense = ", ""},
    {edid_manuf_rx, true, false, false, " Rx EDID Manufacturer = ", ""},
    {edid_model_rx, true, false, false, " Rx EDID Model = ", ""},
    {edid_native_rx, true, false, false, " Rx EDID Native = ", ""},
    {edid_type_rx, true, false, false, " Rx EDID Type = ", ""},
    {timingx_q, true, true, false, " Out Resolution = ", ""},
    {tmds_format_q, true, true, true, " Out TMDS Format = ", ""},
    {tmds_sw_q, true, true, false, " Output = ", ""},
    {rx_scdc_q, true, true, false, " Rx SCDC Port = ", ""},
    {hdr_sw_q, true, true, false, " Out HDR = ", ""},
    {kd_hotplug, false, false, false, "Sink Rx Hotplug = ", ""},
    {kd_rsense, false, false, false, "Sink Rx Sense = ", ""},
    {edid_manuf_sink, false, false, false, "Sink Rx EDID Manufacturer = ", ""},
    {edid_model_sink, false, false, false, "Sink Rx EDID Model = ", ""},
    {edid_native_sink, false, false, false, "Sink Rx EDID Native = ", ""},
    {edid_type_sink, false, false, false, "Sink Rx EDID Type = ", ""},
    {kd_hdcp, false, false, false, "Sink Rx HDCP Port = ", ""},
    {kd_scdc, false, false, false, "Sink Rx SCDC Port = ", ""},
};

bool is_v4l(const ReportItem& r) { return r.context.model_family == family_v4l; }

void avi(ReportItem& r) {
    r.state.AviPresent = packet_present(r.p2());
    if (!r.state.AviPresent) {
        r.line("Source Color Space = None");
        r.line("");
        return;
    }
    decode_packet(PacketKind::Avi, packet_string(r.p2()), r.state.packet);
    r.line("Source Color Space = " + avi_color_space_text(r.state.packet.ColorSpace));
}

void gcp(ReportItem& r) {
    r.state.GcpPresent = packet_present(r.p2());
    if (!r.state.GcpPresent) {
        r.line("Source AVMute = None");
        r.line("Source Deep Color = None");
        return;
    }
    decode_packet(PacketKind::Gcp, packet_string(r.p2()), r.state.packet);
    const PacketFields& f = r.state.packet;
    r.line("Source AVMute = " + gcp_av_mute_text(f.AvMute));
    if (f.ColorDepth == 0 || f.ColorDepth == packet_none_marker) {
        r.line("Source Color Depth = " + gcp_color_depth_text(f.ColorDepth));
    } else {
        r.line("Source Color Depth =" + lead_blank(f.ColorDepth));
    }
}

void asp(ReportItem& r) {
    if (r.p2() == "on") r.state.AspActive = true;
}

void hbr(ReportItem& r) {
    if (r.p2() != "on") return;
    r.state.AspActive = false;
    r.line("Source Audio = HBR");
}

void aif(ReportItem& r) { r.state.AifPresent = packet_present(r.p2()); }
void drmi(ReportItem& r) { r.state.DrmiPresent = packet_present(r.p2()); }

void chs_code(ReportItem& r) {
    if (r.state.AspActive) r.line("Source Audio = " + upper_text(r.p2()));
}

void vsi(ReportItem& r) {
    r.state.VsiPresent = packet_present(r.p2());
    const AnalyserState& s = r.state;
    std::string seen = "Source Packets = ";
    if (s.GcpPresent) seen += "GCP ";
    if (s.AviPresent) seen += "AVI ";
    if (s.AifPresent) seen += "AIF ";
    if (s.DrmiPresent) seen += "HDR ";
    if (s.VsiPresent) seen += "VSI ";
    r.line(seen);
}

// The V4L passes the source's video through in analyser mode and sends 8-bit
// in pattern mode whatever it reports.
void color_space(ReportItem& r) {
    const bool bypass = is_v4l(r) && r.context.task_mode == task_analyser;
    r.unit_line(" Tx Color Space = ", bypass ? std::string("Bypass") : r.p1());
}

void deep_color(ReportItem& r) {
    std::string value = r.p1() + " Bits";
    if (is_v4l(r)) {
        if (r.context.task_mode == task_analyser) {
            value = "Bypass";
        } else if (r.context.task_mode == task_pattern) {
            value = "8 Bits";
        } else {
            value.clear();
        }
    }
    r.unit_line(" Tx Deep Color = ", value);
}

void pattern(ReportItem& r) {
    r.unit_line(" Out Pattern    = ", pattern_text(r.p1(), r.context.patterns));
}

void audio_mute(ReportItem& r) {
    r.unit_line(" Out Audio Mute = ", r.p1());
    r.state.AudioMuted = r.p1() == "on";
}

void audio_source(ReportItem& r) {
    if (is_v4l(r)) return;
    const AudioSourceName* source = find_audio_source(r.p1());
    if (source != nullptr) r.state.AudioSourceCode = source->code;
    r.unit_line(" Out Audio Source = ", source != nullptr ? source->reported : "");
}

void audio_channels(ReportItem& r) {
    const bool hdmi = r.state.AudioSourceCode == audio_source_hdmi;
    r.unit_line(" Out Audio Channel No. = ", hdmi ? std::string() : r.p1());
}

constexpr RuleEntry specials[] = {
    {sd_avi, avi},
    {sd_gcp, gcp},
    {sd_asp, asp},
    {sd_hbr, hbr},
    {sd_aif, aif},
    {sd_drmi, drmi},
    {sd_chs_code, chs_code},
    {sd_vsi, vsi},
    {color_space_q, color_space},
    {deep_color_q, deep_color},
    {hdcp_in_sw_q, hdcp_in_switch},
    {hdcp_in_ver_q, hdcp_in_version},
    {hdcp_out_sw_q, hdcp_out_switch},
    {hdcp_out_ver_q, hdcp_out_version},
    {pattern_q, pattern},
    {audio_mute_q, audio_mute},
    {audio_source_q, audio_source},
    {audio_ch_q, audio_channels},
};

}  // namespace

void hdcp_in_switch(ReportItem& r) {
    if (r.p1() == "off") {
        r.state.HdcpInOn = false;
        r.unit_line(" Rx HDCP Port = off", "");
    } else {
        r.state.HdcpInOn = true;
    }
}

void hdcp_in_version(ReportItem& r) {
    if (r.state.HdcpInOn) r.unit_line(" Rx HDCP Port = ", r.p1());
}

void hdcp_out_switch(ReportItem& r) {
    if (r.p1() == "off") {
        r.state.HdcpOutOn = false;
        r.state.HdcpOutPass = true;
        r.unit_line(" Tx HDCP Out = off", "");
    } else {
        r.state.HdcpOutOn = true;
        r.state.HdcpOutPass = hdcp_out_passes(r.p1());
    }
}

void hdcp_out_version(ReportItem& r) {
    if (!r.state.HdcpOutOn) return;
    r.unit_line(" Tx HDCP Out = ", r.p1() + (r.state.HdcpOutPass ? "  Pass" : "  Fail !"));
}

SectionRules system_rules() { return {lines, specials}; }

}  // namespace t27::report
