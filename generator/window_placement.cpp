#include "generator/window_placement.h"

#include <algorithm>

namespace t27 {

namespace {

long place_edge(long edge, long screen, long window) {
    if (edge > screen || edge < 0) return std::max(0L, screen - window);
    return edge;
}

}  // namespace

WindowPosition window_placement(long left, long top, long screen_width, long screen_height,
                                long window_width, long window_height) {
    return {place_edge(left, screen_width, window_width),
            place_edge(top, screen_height, window_height)};
}

WindowPosition window_centred(long screen_width, long screen_height, long window_width,
                              long window_height) {
    return {std::max(0L, (screen_width - window_width) / 2),
            std::max(0L, (screen_height - window_height) / 2)};
}

WindowPosition settings_window_position(const Settings& settings, long screen_width,
                                        long screen_height, long window_width, long window_height) {
    if (!settings.has_position) {
        return window_centred(screen_width, screen_height, window_width, window_height);
    }
    return window_placement(settings.left, settings.top, screen_width, screen_height, window_width,
                            window_height);
}

}  // namespace t27
