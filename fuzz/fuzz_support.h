#pragma once
// Small helpers shared by the fuzz targets: a check that stops the run with a
// message (assert() vanishes in release builds), and a way to cut the input
// into pieces.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace t27::fuzz {

[[noreturn]] inline void fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    std::abort();
}

#define T27_FUZZ_CHECK(cond)                                       \
    do {                                                           \
        if (!(cond)) ::t27::fuzz::fail(#cond, __FILE__, __LINE__); \
    } while (0)

// Splits `data` at every `separator`; the separator itself is dropped. An
// input without separators is one piece.
inline std::vector<std::string> split(std::string_view data, char separator) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = data.find(separator, start);
        pieces.emplace_back(data.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) return pieces;
        start = end + 1;
    }
}

// Cuts `data` into runs of `size` bytes (0: one run), the way a serial link
// hands on a reply a few characters at a time.
inline std::vector<std::string> chunks(std::string_view data, std::size_t size) {
    std::vector<std::string> out;
    if (size == 0) size = data.size() ? data.size() : 1;
    for (std::size_t i = 0; i < data.size(); i += size) out.emplace_back(data.substr(i, size));
    return out;
}

}  // namespace t27::fuzz
