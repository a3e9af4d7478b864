#include "settings/window_placement.h"

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

WindowPosition window_position_saved(long x, long y, const ScreenArea& area) {
    return {x - area.left, y - area.top};
}

WindowPosition window_position_restored(const Settings& settings, const ScreenArea& area,
                                        long window_width, long window_height) {
    const WindowPosition p =
        settings_window_position(settings, area.width, area.height, window_width, window_height);
    return {area.left + p.left, area.top + p.top};
}

}  // namespace t27
