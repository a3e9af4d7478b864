#include "sim/discovery.h"

#include <charconv>

namespace t27::sim {

namespace {

constexpr std::string_view variants[] = {"overrun", "truncated", "desc-first", "no-desc",
                                         "huge-len"};

std::string record(std::uint8_t type, std::string_view value) {
    std::string r;
    r.push_back(static_cast<char>(type));
    r.push_back(static_cast<char>(value.size()));
    r.append(value);
    return r;
}

template <std::size_t N>
std::string_view as_text(const std::array<std::uint8_t, N>& a) {
    return std::string_view(reinterpret_cast<const char*>(a.data()), N);
}

}  // namespace

bool is_discovery_request(std::string_view d) {
    return d == std::string_view("\x01\x00\xFF\xFF", 4);
}

bool is_malformed_variant(std::string_view v) {
    for (std::string_view known : variants)
        if (v == known) return true;
    return false;
}

std::string discovery_answer(const DiscoveryIdentity& id, std::string_view variant) {
    // A record holds at most 255 bytes of value.
    std::string_view name = std::string_view(id.name).substr(0, 255);
    std::string_view desc = std::string_view(id.description).substr(0, 255);
    std::string out("\x02\x00", 2);
    std::string mac = record(discovery_mac, as_text(id.mac));
    std::string ip = record(discovery_ip, as_text(id.ip));
    std::string nm = record(discovery_name, name);
    std::string ds = record(discovery_description, desc);
    if (variant == "desc-first") return out + mac + nm + ds + ip;
    if (variant == "no-desc") return out + mac + ip + nm;
    if (variant == "truncated") return out + mac + ip.substr(0, 4);
    if (variant == "huge-len") {
        mac[1] = '\xFF';
        return out + mac + ip + nm + ds;
    }
    if (variant == "overrun") {
        ds[1] = static_cast<char>(desc.size() + 40);
        return out + mac + ip + nm + ds;
    }
    return out + mac + ip + nm + ds;
}

bool parse_mac(std::string_view text, std::array<std::uint8_t, 6>& out) {
    if (text.size() != 17) return false;
    for (std::size_t i = 0; i < 6; ++i) {
        if (i > 0 && text[3 * i - 1] != ':') return false;
        unsigned v = 0;
        auto [end, ec] = std::from_chars(text.data() + 3 * i, text.data() + 3 * i + 2, v, 16);
        if (ec != std::errc() || end != text.data() + 3 * i + 2) return false;
        out[i] = static_cast<std::uint8_t>(v);
    }
    return true;
}

bool parse_ipv4(std::string_view text, std::array<std::uint8_t, 4>& out) {
    const char* p = text.data();
    const char* end = text.data() + text.size();
    for (std::size_t i = 0; i < 4; ++i) {
        if (i > 0) {
            if (p == end || *p != '.') return false;
            ++p;
        }
        unsigned v = 0;
        auto [next, ec] = std::from_chars(p, end, v);
        if (ec != std::errc() || next == p || next - p > 3 || v > 255) return false;
        out[i] = static_cast<std::uint8_t>(v);
        p = next;
    }
    return p == end;
}

}  // namespace t27::sim
