#pragma once
// The serial-device overview that stands in for the system's device manager:
// which device each COM number reaches, and what the system says about it.
#include <string>
#include <vector>

#include "protocol/com_map.h"

namespace t27 {

// One serial port as the system enumerates it.
struct PortRecord {
    std::string location;  // "/dev/ttyUSB0", the key the COM map uses
    std::string name;      // "ttyUSB0"
    std::string description;
    std::string manufacturer;
    std::string serial_number;
    int vendor_id = -1;  // -1 when the system does not know it
    int product_id = -1;
};

struct DeviceRow {
    std::string com;  // "COM3", or empty for a port no COM number reaches
    std::string device;
    std::string description;
    std::string manufacturer;
    std::string serial_number;
    std::string vid_pid;  // "0403:6001", or empty
    std::string note;
};

inline constexpr const char* note_pinned = "set by the mapping file";
inline constexpr const char* note_missing = "not present";
inline constexpr const char* note_no_com = "no COM number";

// COM1..COM16 that reach a device, in number order, then the enumerated ports
// no number reaches. A device the mapping file names that the system does not
// enumerate (a pseudo-terminal, an unplugged adapter) is listed with what the
// file system says about it: `exists` tells whether the path is there.
std::vector<DeviceRow> device_rows(const std::vector<PortRecord>& ports, const ComMap& map,
                                   bool (*exists)(const std::string& path));

// "0403:6001": four upper-case hex digits each.
std::string vid_pid_text(int vendor_id, int product_id);

}  // namespace t27
