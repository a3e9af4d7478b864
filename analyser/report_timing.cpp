// The Video Timing and Audio Timing sections of the monitor report.
#include "analyser/commands.h"
#include "analyser/packet_bytes.h"
#include "analyser/report_rules.h"
#include "analyser/value_text.h"

namespace t27::report {

namespace {

using namespace cmd;

constexpr LineRule video_lines[] = {
    {sd_timingx, false, false, false, "Source Resolution  = ", ""},
    {sd_tmds_clock, false, false, false, "Source TMDS Clock = ", " kHz"},
    {sd_pixel_clock, false, false, false, "Source Pixel Clock= ", " kHz"},
    {sd_ht, false, false, false, "Source H Total         = ", " pixel"},
    {sd_ha, false, false, false, "Source H Active        = ", " pixel"},
    {sd_hbp, false, false, false, "Source H Back Porch    = ", " pixel"},
    {sd_hsw, false, false, false, "Source H Sync Width    = ", " pixel"},
    {sd_hfp, false, false, false, "Source H Front Porch   = ", " pixel"},
    {sd_hsp, false, false, false, "Source H Sync Polarity = ", ""},
    {sd_vt, false, false, false, "Source V Total         = ", " line"},
    {sd_va, false, false, false, "Source V Active        = ", " line"},
    {sd_vbp, false, false, false, "Source V Back Porch    = ", " line"},
    {sd_vsw, false, false, false, "Source V Sync Width    = ", " line"},
    {sd_vfp, false, false, false, "Source V Front Porch   = ", " line"},
    {sd_vsp, false, false, false, "Source V Sync Polarity = ", ""},
    {sd_hvs_offset1, false, false, false, "Source H/V Offset1 = ", " dot"},
    {sd_hvs_offset2, false, false, false, "Source H/V Offset2 = ", " dot"},
};

void pixel_clock(ReportItem& r) { r.state.PixelClockHz = pixel_clock_hz_from(r.p2()); }
void h_total(ReportItem& r) { r.state.HTotal = total_from(r.p2()); }
void v_total(ReportItem& r) { r.state.VTotal = total_from(r.p2()); }

void data_rate(ReportItem& r) {
    r.line("Source Video Data Rate = " + data_rate_text(r.p2()) + " Gbps");
}

// Runs after the polarity line of the same reply.
void h_frequency(ReportItem& r) {
    r.line("Source H Frequency =" +
           lead_blank(horizontal_frequency(r.state.PixelClockHz, r.state.HTotal)) + " Hz");
}

void scan(ReportItem& r) {
    if (r.p2() == "i" || r.p2() == "p") r.state.ScanLetter = r.p2();
    r.line("Source Scan = " + scan_mode_text(r.p2()));
    r.line("Source V Frequency =" +
           vertical_frequency_text(r.state.PixelClockHz, r.state.HTotal, r.state.VTotal,
                                   r.state.ScanLetter) +
           " Hz");
}

constexpr RuleEntry video_specials[] = {
    {sd_pixel_clock, pixel_clock}, {sd_data_rate, data_rate}, {sd_ht, h_total},
    {sd_hsp, h_frequency},         {sd_vt, v_total},          {sd_scan, scan},
};

constexpr LineRule audio_lines[] = {
    {sd_acr, false, false, false, "Source ACR       = ", ""},
    {sd_acr_n, false, false, false, "Source ACR N     = ", ""},
    {sd_acr_cts, false, false, false, "Source ACR CTS   = ", ""},
    {sd_hbr, false, false, false, "Source HBR       = ", ""},
    {sd_asp, false, false, false, "Source ASP       = ", ""},
};

void aif(ReportItem& r) {
    r.line(packet_present(r.p2()) ? "Source AIF       = on" : "Source AIF = off");
}

void hbr(ReportItem& r) {
    if (r.p2() == "on") r.state.AspActive = false;
}

// As in the live view: no sample packets, nothing for the gated lines.
void asp(ReportItem& r) { r.state.AspActive = r.p2() == "on"; }

// Items that only mean something while audio sample packets flow.
void gated(ReportItem& r, std::string label, const std::string& value) {
    if (r.state.AspActive) r.line(std::move(label) + value);
}

void asp_pll(ReportItem& r) {
    if (r.p2() == "lock") gated(r, "Source ASP PLL   = ", "Locked");
    if (r.p2() == "unlock") gated(r, "Source ASP PLL   = ", "Unlocked");
}

void asp_fifo(ReportItem& r) {
    if (r.p2() == "nor") gated(r, "Source ASP FIFO  = ", "Normal");
    if (r.p2() == "err") gated(r, "Source ASP FIFO  = ", "Error");
}

void asp_layout(ReportItem& r) { gated(r, "Source ASP Layout= ", r.p2()); }
void asp_channels(ReportItem& r) { gated(r, "Source ASP Ch No.= ", r.p2()); }

void chs_type(ReportItem& r) {
    const std::string kind = r.p2() == "c" ? "Consumer" : r.p2() == "p" ? "Professional" : "";
    gated(r, "Source CHS Type          = ", kind);
}

void chs_code(ReportItem& r) { gated(r, "Source CHS Coding        = ", upper_text(r.p2())); }
void chs_sample_rate(ReportItem& r) { gated(r, "Source CHS Sampling Rate = ", r.p2() + " kHz"); }
void chs_sample_size(ReportItem& r) { gated(r, "Source CHS Sampling Size = ", r.p2() + " Bits"); }

constexpr RuleEntry audio_specials[] = {
    {sd_aif, aif},
    {sd_hbr, hbr},
    {sd_asp, asp},
    {sd_asp_pll, asp_pll},
    {sd_asp_fifo, asp_fifo},
    {sd_asp_layout, asp_layout},
    {sd_asp_ch, asp_channels},
    {sd_chs_type, chs_type},
    {sd_chs_code, chs_code},
    {sd_chs_sr, chs_sample_rate},
    {sd_chs_ss, chs_sample_size},
};

}  // namespace

SectionRules video_rules() { return {video_lines, video_specials}; }
SectionRules audio_rules() { return {audio_lines, audio_specials}; }

}  // namespace t27::report
