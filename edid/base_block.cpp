#include "edid/base_block.h"

#include <array>
#include <cmath>

namespace t27 {

namespace {

// Display-descriptor tags that keep their own kind; every other tag is "other".
constexpr std::array<int, 6> named_tags = {descriptor_serial,          descriptor_text,
                                           descriptor_range_limits,    descriptor_monitor_name,
                                           descriptor_established_iii, descriptor_standard_timings};

int descriptor_kind(const EdidBuffer& buf, int at) {
    if (buf.byte(at) != 0 || buf.byte(at + 1) != 0) return descriptor_detailed_timing;
    const int tag = buf.byte(at + 3);
    for (int t : named_tags) {
        if (t == tag) return tag;
    }
    return descriptor_other;
}

void decode_timing(EdidBuffer& buf, int at) {
    auto b = [&](int k) { return buf.byte(at + k); };
    buf.has_first_timing = true;
    buf.pixel_clock = b(1) * 256 + b(0);
    buf.h_active = (b(4) & 0xF0) * 16 + b(2);
    const int h_total = buf.h_active + (b(4) & 0x0F) * 256 + b(3);
    buf.v_active = (b(7) & 0xF0) * 16 + b(5);
    const int v_total = buf.v_active + (b(7) & 0x0F) * 256 + b(6);
    buf.interlaced = (b(17) & 0x80) != 0;

    double clock = buf.pixel_clock;
    double lines = v_total;
    if (buf.interlaced) {
        // Two fields and the half line between them: the result is the field rate.
        clock *= 2;
        lines = 2.0 * v_total + 1;
    }
    const double divisor = lines * h_total;
    // A descriptor of zero totals is nonsense, not a reason to divide by zero.
    buf.refresh_rate = divisor > 0 ? static_cast<float>(clock * 10000.0 / divisor) : 0.0f;
}

}  // namespace

std::vector<EdidDescriptorEntry> edid_descriptor_table(const EdidBuffer& buf) {
    std::vector<EdidDescriptorEntry> table;
    for (int n = 1; n <= 4; ++n) {
        const int kind = descriptor_kind(buf, edid_descriptor_offset(n));
        table.push_back({n, kind});
        if (kind == descriptor_standard_timings) table.push_back({n, descriptor_continuation});
    }
    return table;
}

std::string edid_manufacturer_letters(const EdidBuffer& buf) {
    const int b8 = buf.byte(8);
    const int b9 = buf.byte(9);
    std::string letters;
    letters += static_cast<char>((b8 & 0x7C) / 4 + 64);
    letters += static_cast<char>((b8 & 0x03) * 8 + (b9 & 0xE0) / 32 + 64);
    letters += static_cast<char>((b9 & 0x1F) | 0x40);
    return letters;
}

int edid_product_code(const EdidBuffer& buf) { return buf.byte(11) * 256 + buf.byte(10); }

std::string edid_monitor_name(const EdidBuffer& buf) {
    std::string name;
    for (int n = 1; n <= 4; ++n) {
        const int at = edid_descriptor_offset(n);
        if (descriptor_kind(buf, at) != descriptor_monitor_name) continue;
        for (int k = 5; k < edid_descriptor_bytes; ++k) {
            const int c = buf.byte(at + k);
            if (c == 0x0A || c == 0x00) break;
            name += static_cast<char>(c);
        }
    }
    return name;
}

void edid_decode_base_block(EdidBuffer& buf) {
    buf.manufacturer = edid_manufacturer_letters(buf);
    buf.monitor_name = edid_monitor_name(buf);
    buf.has_first_timing = false;
    buf.h_active = 0;
    buf.v_active = 0;
    buf.interlaced = false;
    buf.pixel_clock = 0;
    buf.refresh_rate = 0.0f;
    // Every descriptor is looked at: a 0xFA descriptor takes two table entries,
    // so stopping after four entries would miss a timing in descriptor 4.
    for (const EdidDescriptorEntry& e : edid_descriptor_table(buf)) {
        if (e.kind == descriptor_detailed_timing) {
            decode_timing(buf, edid_descriptor_offset(e.number));
            break;
        }
    }
}

std::string edid_native_text(const EdidBuffer& buf) {
    if (!buf.has_first_timing) return {};
    const int lines = buf.interlaced ? buf.v_active * 2 : buf.v_active;
    return std::to_string(buf.h_active) + "x" + std::to_string(lines) +
           (buf.interlaced ? "i" : "p");
}

std::string edid_rate_text(float rate) {
    const double milli = std::round(static_cast<double>(rate) * 1000.0);
    const bool negative = milli < 0;
    const long long m = static_cast<long long>(negative ? -milli : milli);
    const long long whole = m / 1000;
    std::string frac = std::to_string(m % 1000);
    frac.insert(0, 3 - frac.size(), '0');
    return (negative ? "-" : "") + (whole ? std::to_string(whole) : std::string()) + "." + frac;
}

}  // namespace t27
