#include "sim/edid_facts.h"

#include <algorithm>
#include <cmath>

namespace t27::sim {

namespace {

bool has_header(const EdidBytes& e) {
    static const std::uint8_t header[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    return e.size() >= 128 && std::equal(header, header + 8, e.begin());
}

// Offset of the first CEA extension, or 0.
std::size_t cea_offset(const EdidBytes& e) {
    std::size_t blocks = std::min<std::size_t>(e.size() / 128, 1u + e[126]);
    for (std::size_t b = 1; b < blocks; ++b)
        if (e[b * 128] == 0x02) return b * 128;
    return 0;
}

}  // namespace

std::string edid_manufacturer(const EdidBytes& e) {
    if (e.size() < 128) return "---";
    int id = (e[8] << 8) | e[9];
    std::string s;
    for (int shift : {10, 5, 0}) {
        int v = (id >> shift) & 31;
        s.push_back(v >= 1 && v <= 26 ? static_cast<char>('A' + v - 1) : '?');
    }
    return s;
}

std::string edid_monitor_name(const EdidBytes& e) {
    if (e.size() < 128) return {};
    for (std::size_t d = 54; d < 126; d += 18) {
        if (e[d] != 0 || e[d + 1] != 0 || e[d + 3] != 0xFC) continue;
        std::string s;
        for (std::size_t i = d + 5; i < d + 18 && e[i] != 0x0A; ++i)
            // Commas and control bytes would break the reply's parameter list.
            s.push_back(e[i] >= 32 && e[i] < 127 && e[i] != ',' ? static_cast<char>(e[i]) : ' ');
        while (!s.empty() && s.back() == ' ') s.pop_back();
        return s;
    }
    return {};
}

std::string edid_native_text(const EdidBytes& e) {
    if (e.size() < 128) return {};
    const std::uint8_t* p = e.data() + 54;
    int clock = p[0] | (p[1] << 8);
    if (clock == 0) return {};
    int h_active = p[2] | ((p[4] >> 4) << 8);
    int h_blank = p[3] | ((p[4] & 15) << 8);
    int v_active = p[5] | ((p[7] >> 4) << 8);
    int v_blank = p[6] | ((p[7] & 15) << 8);
    bool interlaced = (p[17] & 0x80) != 0;
    double total = static_cast<double>(h_active + h_blank) * (v_active + v_blank);
    long rate = total > 0 ? std::lround(clock * 10000.0 / total * (interlaced ? 2 : 1)) : 0;
    return std::to_string(h_active) + "x" + std::to_string(interlaced ? v_active * 2 : v_active) +
           (interlaced ? "i" : "p") + std::to_string(rate);
}

std::string edid_type_text(const EdidBytes& e) {
    if (!has_header(e)) return "none";
    if ((e[20] & 0x80) == 0) return "analog";
    std::size_t c = cea_offset(e);
    if (c == 0) return "dvi";
    bool hdmi = false;
    int class_rate = 0;  // MHz that decides HD / 3G / 6G
    std::size_t end = c + std::min<std::size_t>(e[c + 2], 127);
    for (std::size_t p = c + 4; p < end && p < c + 127;) {
        int tag = e[p] >> 5;
        std::size_t len = e[p] & 31;
        if (tag == 3 && len >= 3 && p + 3 < e.size()) {
            if (e[p + 1] == 0x03 && e[p + 2] == 0x0C && e[p + 3] == 0x00) {
                hdmi = true;
                if (len >= 7) class_rate = std::max(class_rate, e[p + 7] * 5);
            } else if (e[p + 1] == 0xD8 && e[p + 2] == 0x5D && e[p + 3] == 0xC4 && len >= 5) {
                class_rate = std::max(class_rate, e[p + 5] * 5);
            }
        }
        p += len + 1;
    }
    if (!hdmi) return "dvi";
    for (std::size_t d = 54; d < 126; d += 18)
        if (e[d] == 0 && e[d + 1] == 0 && e[d + 3] == 0xFD) {
            class_rate = std::max(class_rate, e[d + 9] * 10);
            break;
        }
    if (class_rate >= 600) return "hdmi_6g";
    if (class_rate >= 300) return "hdmi_3g";
    return "hdmi_hd";
}

std::string edid_slot_name(const EdidBytes& e) {
    return edid_manufacturer(e) + "." + edid_monitor_name(e);
}

}  // namespace t27::sim
