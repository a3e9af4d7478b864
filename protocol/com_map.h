#pragma once
// COM1..COM16 on a system whose serial devices are not numbered. The devices
// the system enumerates fill the numbers in a stable order; a mapping file in
// the program directory can pin any number to any device (a USB adapter that
// must stay COM3, or the simulator's pseudo-terminal in a demo).
#include <array>
#include <string>
#include <vector>

namespace t27 {

inline constexpr int com_port_count = 16;
inline constexpr const char* com_map_file_name = "com_ports.txt";

struct ComMap {
    std::array<std::string, com_port_count + 1> device;  // index 1..16; empty = none
    std::vector<std::string> problems;                   // lines of the file that were ignored

    const std::string& device_for(int com) const;
    int com_for(const std::string& device) const;  // 0 when not mapped
};

// Lines "COM3=/dev/ttyUSB0" (or "3=/dev/ttyUSB0"); blanks around either side
// are ignored, "#" starts a comment, a later line for the same number wins.
// Enumerated devices fill the numbers the file leaves free, in the order of
// `stable_device_order`.
//
// `previous` is the map of the same session before an adapter was plugged in
// or pulled out: a device that is still there keeps its number (so the open
// port and the user's choice do not move to another device), and only new
// devices take the free numbers.
ComMap build_com_map(const std::vector<std::string>& enumerated, const std::string& map_file_text,
                     const ComMap* previous = nullptr);

// Windows names its ports COM1, COM2, ... itself: each number is that port.
ComMap direct_com_map();

// USB and ACM adapters first (the ports people plug in; on macOS the
// usbserial and usbmodem devices), then the rest; names with numbers sort by
// number so ttyUSB10 comes after ttyUSB9.
std::vector<std::string> stable_device_order(std::vector<std::string> devices);

// "COM3" or "com3" -> 3; 0 when the text is not a COM name in range.
int parse_com_name(const std::string& text);

// The advice for a device this user may not open, from its mode bits, group
// id and group name (empty when the system has no name for it): the group,
// only when it may read and write and is not root's; else the udev rule.
std::string serial_permission_advice(const std::string& device, unsigned mode, unsigned group_id,
                                     const std::string& group);

}  // namespace t27
