#pragma once
// COM1-COM16 on each operating system, for the window and t27ctl alike:
// Windows names its ports COMn itself; Linux and macOS number the serial
// devices they list (on macOS the /dev/cu.* call-out devices) in a stable
// order, with com_ports.txt pinning numbers to devices.
#include <string>

#include "protocol/com_map.h"

namespace t27 {

// Lists the system's serial ports now and numbers them; `map_file` is the
// path of com_ports.txt (unused on Windows). `previous` as build_com_map().
ComMap system_com_map(const std::string& map_file, const ComMap* previous = nullptr);

// The device that the name a user typed stands for: a device path as it is,
// "COMn" through system_com_map().
std::string serial_device_for(const std::string& name, const std::string& map_file);

// Why `device` cannot be opened when the reason is the user's rights, with
// the fix; empty when it is not (or on Windows, where the port is simply in
// use).
// (The advice itself: serial_permission_advice() in protocol/com_map.h.)
std::string serial_permission_hint(const std::string& device);

}  // namespace t27
