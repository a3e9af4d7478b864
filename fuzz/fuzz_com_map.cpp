// The COM mapping file a user keeps in the program directory, and the same
// text taken as an IP address entry and as a COM name.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "protocol/com_map.h"
#include "protocol/ip_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    const std::vector<std::string> enumerated =
        t27::stable_device_order({"/dev/ttyS0", "/dev/ttyUSB1", "/dev/ttyUSB0", "/dev/ttyACM0"});
    const t27::ComMap map = t27::build_com_map(enumerated, text);
    for (int com = 1; com <= t27::com_port_count; ++com) {
        const std::string& device = map.device_for(com);
        if (!device.empty()) T27_FUZZ_CHECK(map.com_for(device) != 0);
    }
    map.device_for(0);
    map.device_for(t27::com_port_count + 1);

    const int com = t27::parse_com_name(text);
    T27_FUZZ_CHECK(com >= 0 && com <= t27::com_port_count);

    const t27::IpCheckResult ip = t27::ip_check(text);
    if (ip.ok) {
        // A tidied address is tidy: checking it again changes nothing.
        const t27::IpCheckResult again = t27::ip_check(ip.text);
        T27_FUZZ_CHECK(again.ok && again.text == ip.text);
    } else {
        T27_FUZZ_CHECK(ip.text.empty());
    }
    const t27::IpEntryUpdate u = t27::ip_entry_check(text, "10.0.0.1", true);
    if (!u.ok) T27_FUZZ_CHECK(u.entry_text == "10.0.0.1" && u.saved_ip == "10.0.0.1");
    return 0;
}
