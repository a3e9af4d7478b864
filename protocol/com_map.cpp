#include "protocol/com_map.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <tuple>

namespace t27 {

namespace {

std::string trim(const std::string& s) {
    std::size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return {};
    std::size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

int parse_number(const std::string& s) {
    if (s.empty() || s.size() > 3) return 0;
    int n = 0;
    for (char c : s) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
        n = n * 10 + (c - '0');
    }
    return n;
}

// Parts of the names that USB serial adapters get on Linux and macOS.
constexpr std::array<const char*, 4> adapter_kinds = {"ttyUSB", "ttyACM", "usbserial", "usbmodem"};

// Key for a natural sort: the text before the trailing number, then the number.
std::tuple<int, std::string, long> sort_key(const std::string& dev) {
    std::size_t end = dev.size();
    std::size_t start = end;
    while (start > 0 && std::isdigit(static_cast<unsigned char>(dev[start - 1]))) --start;
    const std::string stem = dev.substr(0, start);
    const long number = start < end && end - start < 9 ? std::stol(dev.substr(start)) : -1;
    bool adapter = false;
    for (const char* kind : adapter_kinds)
        adapter = adapter || stem.find(kind) != std::string::npos;
    return {adapter ? 0 : 1, stem, number};
}

}  // namespace

const std::string& ComMap::device_for(int com) const {
    static const std::string none;
    if (com < 1 || com > com_port_count) return none;
    return device[static_cast<std::size_t>(com)];
}

int ComMap::com_for(const std::string& dev) const {
    for (int i = 1; i <= com_port_count; ++i)
        if (!dev.empty() && device[static_cast<std::size_t>(i)] == dev) return i;
    return 0;
}

int parse_com_name(const std::string& text) {
    std::string t = trim(text);
    if (t.size() > 3 && (t[0] == 'C' || t[0] == 'c') && (t[1] == 'O' || t[1] == 'o') &&
        (t[2] == 'M' || t[2] == 'm'))
        t = t.substr(3);
    const int n = parse_number(t);
    return n >= 1 && n <= com_port_count ? n : 0;
}

std::vector<std::string> stable_device_order(std::vector<std::string> devices) {
    std::sort(devices.begin(), devices.end(),
              [](const std::string& a, const std::string& b) { return sort_key(a) < sort_key(b); });
    devices.erase(std::unique(devices.begin(), devices.end()), devices.end());
    return devices;
}

ComMap direct_com_map() {
    ComMap map;
    for (int n = 1; n <= com_port_count; ++n)
        map.device[static_cast<std::size_t>(n)] = "COM" + std::to_string(n);
    return map;
}

ComMap build_com_map(const std::vector<std::string>& enumerated, const std::string& map_file_text,
                     const ComMap* previous) {
    ComMap map;
    std::size_t pos = 0;
    int line_no = 0;
    while (pos < map_file_text.size()) {
        std::size_t nl = map_file_text.find('\n', pos);
        if (nl == std::string::npos) nl = map_file_text.size();
        std::string line = map_file_text.substr(pos, nl - pos);
        pos = nl + 1;
        ++line_no;
        if (std::size_t hash = line.find('#'); hash != std::string::npos) line.resize(hash);
        line = trim(line);
        if (line.empty()) continue;
        const std::size_t eq = line.find('=');
        const int com = eq == std::string::npos ? 0 : parse_com_name(line.substr(0, eq));
        const std::string dev = eq == std::string::npos ? std::string() : trim(line.substr(eq + 1));
        if (com == 0 || dev.empty()) {
            map.problems.push_back("line " + std::to_string(line_no) + ": " + line);
            continue;
        }
        map.device[static_cast<std::size_t>(com)] = dev;
    }

    const std::vector<std::string> ordered = stable_device_order(enumerated);
    if (previous) {
        for (const std::string& dev : ordered) {
            const int was = previous->com_for(dev);
            if (was != 0 && map.com_for(dev) == 0 &&
                map.device[static_cast<std::size_t>(was)].empty())
                map.device[static_cast<std::size_t>(was)] = dev;
        }
    }
    int next = 1;
    for (const std::string& dev : ordered) {
        if (map.com_for(dev) != 0) continue;
        while (next <= com_port_count && !map.device[static_cast<std::size_t>(next)].empty())
            ++next;
        if (next > com_port_count) break;
        map.device[static_cast<std::size_t>(next)] = dev;
    }
    return map;
}

std::string serial_permission_advice(const std::string& device, unsigned mode, unsigned group_id,
                                     const std::string& group) {
    // Joining a group helps only when that group may read and write; and
    // joining root's group would hand out far more than a serial port.
    constexpr unsigned group_rw = 0060;
    if ((mode & group_rw) == group_rw && group_id != 0 && !group.empty() && group != "root")
        return device + " exists, but you may not open it: it belongs to the group " + group +
               ". Add yourself to the group, then log in again (sudo usermod -aG " + group +
               " $USER).";
    return device +
           " exists, but you may not open it, and no group other than root may read and write "
           "it. A udev rule can give it to the dialout group: see docs/serial-ports.md.";
}

}  // namespace t27
