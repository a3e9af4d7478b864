#include "protocol/qt/serial_ports.h"

#include <QSerialPortInfo>
#include <vector>

#include "common/atomic_write.h"
#include "common/qt/qt_text.h"

#if !defined(_WIN32)
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace t27 {

namespace {

std::vector<std::string> listed_devices() {
    std::vector<std::string> found;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const std::string dev = from_qt(info.systemLocation());
#if defined(__APPLE__)
        // Each port shows twice; the tty.* twin waits for a carrier signal
        // that a test unit's cable does not give.
        if (dev.rfind("/dev/cu.", 0) != 0) continue;
#endif
        found.push_back(dev);
    }
    return found;
}

}  // namespace

ComMap system_com_map(const std::string& map_file, const ComMap* previous) {
#if defined(_WIN32)
    (void)map_file;
    (void)previous;
    return direct_com_map();
#else
    std::string map_text;
    read_file_bytes(map_file, map_text, nullptr, 64 * 1024);
    return build_com_map(listed_devices(), map_text, previous);
#endif
}

std::string serial_device_for(const std::string& name, const std::string& map_file) {
    const int com = parse_com_name(name);
    if (com == 0 || name.find('/') != std::string::npos) return name;
    return system_com_map(map_file).device_for(com);
}

std::string serial_permission_hint(const std::string& device) {
#if defined(_WIN32)
    (void)device;
    return {};
#else
    struct stat st {};
    if (device.empty() || ::stat(device.c_str(), &st) != 0) return {};
    if (::access(device.c_str(), R_OK | W_OK) == 0 || errno != EACCES) return {};
    const struct group* g = ::getgrgid(st.st_gid);
    return serial_permission_advice(device, static_cast<unsigned>(st.st_mode),
                                    static_cast<unsigned>(st.st_gid),
                                    g && g->gr_name ? g->gr_name : "");
#endif
}

}  // namespace t27
