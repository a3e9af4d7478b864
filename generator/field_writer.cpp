#include "generator/field_writer.h"

#include <array>
#include <charconv>
#include <cmath>

namespace t27 {

namespace {
constexpr std::string_view line_end = "\r\n";
}

std::string single_text(float value) {
    if (!std::isfinite(value)) return "0";
    // Negative zero would come out as "-0".
    if (value == 0.0f) return "0";
    std::array<char, 64> buf{};
    const auto format =
        std::fabs(value) < 1e7f ? std::chars_format::fixed : std::chars_format::scientific;
    auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), value, format);
    if (ec != std::errc()) return "0";
    return std::string(buf.data(), end);
}

void FieldWriter::integer(long long value) {
    bytes_ += std::to_string(value);
    bytes_ += line_end;
}

void FieldWriter::text(std::string_view value) {
    bytes_ += '"';
    for (char c : value) bytes_ += (c == '"') ? '\'' : c;
    bytes_ += '"';
    bytes_ += line_end;
}

void FieldWriter::single(float value) {
    bytes_ += single_text(value);
    bytes_ += line_end;
}

}  // namespace t27
