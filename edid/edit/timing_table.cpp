#include "edid/edit/timing_table.h"

#include "edid/edit/edit_schema.h"

namespace t27 {

const std::vector<VideoTiming>& video_timings() {
    // vic, DMT name, clock (10 kHz), H active/front/sync/back, V active/front/sync/back,
    // H+, V+, interlaced
    static const std::vector<VideoTiming> table = {
        {1, nullptr, 2518, 640, 16, 96, 48, 480, 10, 2, 33, false, false, false},
        {2, nullptr, 2700, 720, 16, 62, 60, 480, 9, 6, 30, false, false, false},
        {3, nullptr, 2700, 720, 16, 62, 60, 480, 9, 6, 30, false, false, false},
        {4, nullptr, 7425, 1280, 110, 40, 220, 720, 5, 5, 20, true, true, false},
        {5, nullptr, 7425, 1920, 88, 44, 148, 540, 2, 5, 15, true, true, true},
        {16, nullptr, 14850, 1920, 88, 44, 148, 1080, 4, 5, 36, true, true, false},
        {17, nullptr, 2700, 720, 12, 64, 68, 576, 5, 5, 39, false, false, false},
        {18, nullptr, 2700, 720, 12, 64, 68, 576, 5, 5, 39, false, false, false},
        {19, nullptr, 7425, 1280, 440, 40, 220, 720, 5, 5, 20, true, true, false},
        {20, nullptr, 7425, 1920, 528, 44, 148, 540, 2, 5, 15, true, true, true},
        {31, nullptr, 14850, 1920, 528, 44, 148, 1080, 4, 5, 36, true, true, false},
        {32, nullptr, 7425, 1920, 638, 44, 148, 1080, 4, 5, 36, true, true, false},
        {33, nullptr, 7425, 1920, 528, 44, 148, 1080, 4, 5, 36, true, true, false},
        {34, nullptr, 7425, 1920, 88, 44, 148, 1080, 4, 5, 36, true, true, false},
        {63, nullptr, 29700, 1920, 88, 44, 148, 1080, 4, 5, 36, true, true, false},
        {64, nullptr, 29700, 1920, 528, 44, 148, 1080, 4, 5, 36, true, true, false},
        {93, nullptr, 29700, 3840, 1276, 88, 296, 2160, 8, 10, 72, true, true, false},
        {94, nullptr, 29700, 3840, 1056, 88, 296, 2160, 8, 10, 72, true, true, false},
        {95, nullptr, 29700, 3840, 176, 88, 296, 2160, 8, 10, 72, true, true, false},
        {96, nullptr, 59400, 3840, 1056, 88, 296, 2160, 8, 10, 72, true, true, false},
        {97, nullptr, 59400, 3840, 176, 88, 296, 2160, 8, 10, 72, true, true, false},
        {98, nullptr, 29700, 4096, 1020, 88, 296, 2160, 8, 10, 72, true, true, false},
        {99, nullptr, 29700, 4096, 968, 88, 128, 2160, 8, 10, 72, true, true, false},
        {100, nullptr, 29700, 4096, 88, 88, 128, 2160, 8, 10, 72, true, true, false},
        {101, nullptr, 59400, 4096, 968, 88, 128, 2160, 8, 10, 72, true, true, false},
        {102, nullptr, 59400, 4096, 88, 88, 128, 2160, 8, 10, 72, true, true, false},
        {103, nullptr, 29700, 3840, 1276, 88, 296, 2160, 8, 10, 72, true, true, false},
        {104, nullptr, 29700, 3840, 1056, 88, 296, 2160, 8, 10, 72, true, true, false},
        {105, nullptr, 29700, 3840, 176, 88, 296, 2160, 8, 10, 72, true, true, false},
        {106, nullptr, 59400, 3840, 1056, 88, 296, 2160, 8, 10, 72, true, true, false},
        {107, nullptr, 59400, 3840, 176, 88, 296, 2160, 8, 10, 72, true, true, false},
        {0, "800x600 60Hz", 4000, 800, 40, 128, 88, 600, 1, 4, 23, true, true, false},
        {0, "1024x768 60Hz", 6500, 1024, 24, 136, 160, 768, 3, 6, 29, false, false, false},
        {0, "1280x1024 60Hz", 10800, 1280, 48, 112, 248, 1024, 1, 3, 38, true, true, false},
        {0, "1360x768 60Hz", 8550, 1360, 64, 112, 256, 768, 3, 6, 18, true, true, false},
        {0, "1440x900 60Hz RB", 8875, 1440, 48, 32, 80, 900, 3, 6, 17, true, false, false},
        {0, "1600x1200 60Hz", 16200, 1600, 64, 192, 304, 1200, 1, 3, 46, true, true, false},
        {0, "1680x1050 60Hz RB", 11900, 1680, 48, 32, 80, 1050, 3, 6, 21, true, false, false},
        {0, "1920x1200 60Hz RB", 15400, 1920, 48, 32, 80, 1200, 3, 6, 26, true, false, false},
        {0, "2560x1440 60Hz RB", 24150, 2560, 48, 32, 80, 1440, 3, 5, 33, true, false, false},
        {0, "2560x1600 60Hz RB", 26850, 2560, 48, 32, 80, 1600, 3, 6, 37, true, false, false},
    };
    return table;
}

std::string video_timing_name(const VideoTiming& t) {
    if (t.vic == 0) return t.dmt_name ? t.dmt_name : "";
    return vic_label(t.vic);
}

const VideoTiming* video_timing_of_vic(int vic) {
    for (const VideoTiming& t : video_timings())
        if (t.vic == vic && vic != 0) return &t;
    return nullptr;
}

}  // namespace t27
