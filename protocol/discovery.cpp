#include "protocol/discovery.h"

#include <array>
#include <cstdio>

namespace t27 {

namespace {

constexpr std::size_t name_length = 12;
constexpr std::size_t mac_bytes = 6;
constexpr std::size_t ip_bytes = 4;

struct AcceptedName {
    std::string_view shortened;
    std::string_view model;
};

// The V4L desktop unit announces a 13-character name; its 12-character form
// is taken as the V4 model whose firmware it shares and listed under that name.
// The unit's other V4L names are not listed.
constexpr std::array<AcceptedName, 7> accepted_names = {{
    {"RQTA-V4", "RQTA-V4"},
    {"Vezarev Ove.", "Vezarev Ove."},
    {"Vuririd Uva.", "Vezarev Ove."},
    {"DE-4", "DE-4"},
    {"T27", "T27"},
    {"DN-K7-RMB", "DN-K7-RMB"},
    {"RQTA-V5", "RQTA-V5"},
}};

std::string mac_text(std::string_view value) {
    std::string text;
    const std::size_t n = value.size() < mac_bytes ? value.size() : mac_bytes;
    for (std::size_t i = 0; i < n; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(value[i]));
        if (i > 0) text += ':';
        text += hex;
    }
    return text;
}

std::string ip_text(std::string_view value) {
    std::string text;
    const std::size_t n = value.size() < ip_bytes ? value.size() : ip_bytes;
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0) text += '.';
        text += std::to_string(static_cast<unsigned char>(value[i]));
    }
    return text;
}

}  // namespace

std::string discovery_request() { return std::string("\x01\x00\xFF\xFF", 4); }

DiscoveryTargets DiscoveryTargets::loopback() {
    DiscoveryTargets t;
    t.multicast_host = "127.0.0.1";
    t.broadcast_host = "127.0.0.1";
    return t;
}

const std::string& discovery_host(const DiscoveryTargets& targets, bool discovery_repeated) {
    return discovery_repeated ? targets.broadcast_host : targets.multicast_host;
}

std::string discovery_name_text(std::string_view raw) {
    std::string kept;
    for (char c : raw.substr(0, name_length)) {
        const auto code = static_cast<unsigned char>(c);
        if (code >= 32 && code <= 126) kept += c;
    }
    const std::size_t first = kept.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const std::size_t last = kept.find_last_not_of(' ');
    return kept.substr(first, last - first + 1);
}

std::string discovery_accepted_model(std::string_view shortened_name) {
    for (const AcceptedName& a : accepted_names) {
        if (a.shortened == shortened_name) return std::string(a.model);
    }
    return {};
}

DiscoveryAnswer discovery_parse(std::string_view datagram) {
    DiscoveryAnswer answer;
    const std::size_t n = datagram.size();
    std::string mac;
    std::string ip;
    std::string model;
    std::size_t p = 2;
    for (;;) {
        if (p + 2 > n) {
            answer.truncated = p < n;
            break;
        }
        const auto type = static_cast<unsigned char>(datagram[p]);
        const auto length = static_cast<unsigned char>(datagram[p + 1]);
        if (p + 2 + length > n) {
            answer.truncated = true;
            break;
        }
        const std::string_view value = datagram.substr(p + 2, length);
        switch (type) {
            case discovery_type_mac:
                mac = mac_text(value);
                break;
            case discovery_type_ip:
                ip = ip_text(value);
                break;
            case discovery_type_name:
                model = discovery_accepted_model(discovery_name_text(value));
                break;
            case discovery_type_description:
                if (!model.empty()) answer.units.push_back({ip, mac, model});
                break;
            default:
                break;
        }
        p += 2u + length;
        // Fewer than three bytes left cannot hold a record with a value.
        if (p + 2 >= n) break;
    }
    return answer;
}

void discovery_start(DiscoveryState& state) {
    state.found_count = 0;
    state.discovery_repeated = false;
}

bool discovery_repeat_due(DiscoveryState& state) {
    if (state.found_count != 0 || state.discovery_repeated) return false;
    state.discovery_repeated = true;
    return true;
}

std::vector<ListedUnit> discovery_accept(DiscoveryState& state, std::string_view datagram) {
    std::vector<ListedUnit> listed;
    for (DiscoveredUnit& unit : discovery_parse(datagram).units) {
        ++state.found_count;
        listed.push_back({state.found_count, std::move(unit)});
    }
    return listed;
}

}  // namespace t27
