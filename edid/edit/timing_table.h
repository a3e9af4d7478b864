#pragma once
// Video timings the editor can put into a detailed timing descriptor, and
// the pixel clock a VIC needs. CTA-861 entries are named by the program's
// VIC table; the few VESA DMT entries carry their own names.
#include <string>
#include <vector>

namespace t27 {

struct VideoTiming {
    int vic;               // 0 for a DMT timing
    const char* dmt_name;  // DMT timings only
    int clock_10khz;
    int h_active, h_front, h_sync, h_back;
    int v_active, v_front, v_sync, v_back;  // lines per field when interlaced
    bool h_positive, v_positive, interlaced;

    int h_blank() const { return h_front + h_sync + h_back; }
    int v_blank() const { return v_front + v_sync + v_back; }
};

const std::vector<VideoTiming>& video_timings();

// The name shown in the editor's timing picker.
std::string video_timing_name(const VideoTiming& t);

// The timing of a VIC, or nullptr when the table has none.
const VideoTiming* video_timing_of_vic(int vic);

}  // namespace t27
