#include "mainwin/device_rows.h"

#include <cstdio>

namespace t27 {

std::string vid_pid_text(int vendor_id, int product_id) {
    if (vendor_id < 0 || product_id < 0 || vendor_id > 0xFFFF || product_id > 0xFFFF) return {};
    char text[10];
    std::snprintf(text, sizeof text, "%04X:%04X", static_cast<unsigned>(vendor_id),
                  static_cast<unsigned>(product_id));
    return text;
}

namespace {

DeviceRow row_for(const PortRecord& p) {
    DeviceRow r;
    r.device = p.location;
    r.description = p.description;
    r.manufacturer = p.manufacturer;
    r.serial_number = p.serial_number;
    r.vid_pid = vid_pid_text(p.vendor_id, p.product_id);
    return r;
}

const PortRecord* find_port(const std::vector<PortRecord>& ports, const std::string& location) {
    for (const PortRecord& p : ports)
        if (p.location == location) return &p;
    return nullptr;
}

}  // namespace

std::vector<DeviceRow> device_rows(const std::vector<PortRecord>& ports, const ComMap& map,
                                   bool (*exists)(const std::string& path)) {
    std::vector<DeviceRow> rows;
    for (int com = 1; com <= com_port_count; ++com) {
        const std::string& device = map.device_for(com);
        if (device.empty()) continue;
        DeviceRow r;
        if (const PortRecord* p = find_port(ports, device)) {
            r = row_for(*p);
        } else {
            // Only the mapping file can name a device the system did not list.
            r.device = device;
            r.note = note_pinned;
            if (exists && !exists(device)) r.note += std::string(", ") + note_missing;
        }
        r.com = "COM" + std::to_string(com);
        rows.push_back(std::move(r));
    }
    for (const PortRecord& p : ports) {
        if (map.com_for(p.location) != 0) continue;
        DeviceRow r = row_for(p);
        r.note = note_no_com;
        rows.push_back(std::move(r));
    }
    return rows;
}

}  // namespace t27
