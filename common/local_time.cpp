#include "common/local_time.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace t27 {

std::string local_time_text(std::int64_t time_ms) {
    std::int64_t secs = time_ms / 1000;
    int ms = static_cast<int>(time_ms % 1000);
    if (ms < 0) {
        ms += 1000;
        --secs;
    }
    const std::time_t t = static_cast<std::time_t>(secs);
    std::tm tm{};
#if defined(_WIN32)
    localtime_s(&tm, &t);  // the same call, arguments the other way round
#else
    localtime_r(&t, &tm);
#endif
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, ms);
    return buf;
}

std::int64_t wall_clock_ms() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace t27
