// The HDCP & SCDC section of the monitor report, for both task modes.
#include "analyser/commands.h"
#include "analyser/report_rules.h"

namespace t27::report {

namespace {

using namespace cmd;

constexpr LineRule lines[] = {
    // Analyser mode: the source's link into the unit.
    {sd_hdcp, false, false, false, "Source Tx HDCP = ", ""},
    {sd_hdcp_aksv, false, false, false, "Source Tx HDCP Aksv = ", ""},
    {sd_hdcp_bksv, true, false, false, " Rx HDCP Bksv = ", ""},
    {sd_hdcp_rxid, true, false, false, " Rx HDCP RxID = ", ""},
    {sd_scdc_source_ver, false, false, false, "Source Tx SCDC Source Version = ", ""},
    {sd_scdc_scr_enable, false, false, false, "Source Tx SCDC Scramble Enable = ", ""},
    {rx_scdc_q, true, true, false, " Rx SCDC Port = ", ""},
    {sd_scdc_sink_ver, true, false, false, " Rx SCDC Sink Version = ", ""},
    {sd_scdc_scr_status, true, false, false, " Rx SCDC Scramble Status = ", ""},
    // Pattern mode: the unit's link into the sink.
    {kd_hdcp_aksv, true, false, false, " Tx HDCP Aksv = ", ""},
    {kd_hdcp, false, false, false, "Sink Rx HDCP Port = ", ""},
    {kd_hdcp_bksv, false, false, false, "Sink Rx HDCP Bksv = ", ""},
    {kd_hdcp_rxid, false, false, false, "Sink Rx HDCP RxID = ", ""},
    {kd_scdc_source_ver, true, false, false, " Tx SCDC Source Version = ", ""},
    {kd_scdc_scr_enable, true, false, false, " Tx SCDC Scramble Enable = ", ""},
    {kd_scdc, false, false, false, "Sink Rx SCDC Port = ", ""},
    {kd_scdc_sink_ver, false, false, false, "Sink Rx SCDC Sink Version = ", ""},
    {kd_scdc_scr_status, false, false, false, "Sink Rx SCDC Scramble Status = ", ""},
};

// The HDCP block ends with the receiver ID; an empty line sets it off from SCDC.
void blank_line(ReportItem& r) { r.line(""); }

constexpr RuleEntry specials[] = {
    {hdcp_in_sw_q, hdcp_in_switch},   {hdcp_in_ver_q, hdcp_in_version},
    {hdcp_out_sw_q, hdcp_out_switch}, {hdcp_out_ver_q, hdcp_out_version},
    {sd_hdcp_rxid, blank_line},       {kd_hdcp_rxid, blank_line},
};

}  // namespace

SectionRules hdcp_rules() { return {lines, specials}; }

}  // namespace t27::report
