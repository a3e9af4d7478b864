#pragma once
// Inside the poll-reply dispatcher: the reply being decoded and the helpers
// every rule uses. Not for use outside analyser/.
#include <string>
#include <string_view>

#include "analyser/decode_reply.h"

namespace t27::rules {

struct Decoding {
    const PollReply& reply;
    const DecodeContext& context;
    AnalyserState& state;
    DisplayUpdates& out;

    int view() const { return context.view; }
    const std::string& p1() const { return reply.p1; }
    const std::string& p2() const { return reply.p2; }

    void text(std::string_view control, std::string value) {
        out.texts.push_back({std::string(control), std::move(value)});
    }
    void cell(std::string_view array, int n, std::string value) {
        out.texts.push_back({cell_name(array, n), std::move(value)});
    }
    void colour(std::string_view control, Colour c) {
        out.colours.push_back({std::string(control), c});
    }
    std::string caption(const std::string& control) const {
        return context.caption ? context.caption(control) : std::string();
    }
};

using Rule = void (*)(Decoding&);

// Source side.
void source_timing(Decoding& d);
void source_hdcp(Decoding& d);
void source_asp(Decoding& d);
void source_hbr(Decoding& d);
void source_chs_code(Decoding& d);

// Packets.
void packet_avi(Decoding& d);
void packet_gcp(Decoding& d);
void packet_aif(Decoding& d);
void packet_spd(Decoding& d);
void packet_vsi(Decoding& d);
void packet_drm(Decoding& d);

// Video and audio timing views.
void pixel_clock(Decoding& d);
void data_rate(Decoding& d);
void h_total(Decoding& d);
void h_sync_polarity(Decoding& d);
void v_total(Decoding& d);
void scan_mode(Decoding& d);
void asp_pll(Decoding& d);
void asp_fifo(Decoding& d);
void asp_layout(Decoding& d);
void asp_channels(Decoding& d);
void chs_type(Decoding& d);
void chs_sample_rate(Decoding& d);
void chs_sample_size(Decoding& d);

// The unit's own input and output, and the sink.
void rx_edid_manufacturer(Decoding& d);
void hdcp_in_switch(Decoding& d);
void hdcp_in_version(Decoding& d);
void hdcp_out_switch(Decoding& d);
void hdcp_out_version(Decoding& d);
void rx_scdc(Decoding& d);
void pattern_number(Decoding& d);
void audio_mute(Decoding& d);
void audio_source(Decoding& d);
void audio_channels(Decoding& d);
void sink_edid_manufacturer(Decoding& d);
void sink_hdcp(Decoding& d);
void sink_scdc(Decoding& d);

}  // namespace t27::rules
