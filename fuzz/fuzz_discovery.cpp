// One answer datagram to a discovery request, as any host on the network
// may send it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "protocol/discovery.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view datagram(reinterpret_cast<const char*>(data), size);
    const t27::DiscoveryAnswer answer = t27::discovery_parse(datagram);

    // Every record takes at least two bytes, and a unit needs a description.
    T27_FUZZ_CHECK(answer.units.size() <= size / 2);
    for (const t27::DiscoveredUnit& unit : answer.units) {
        T27_FUZZ_CHECK(!unit.model.empty());
        T27_FUZZ_CHECK(unit.mac.size() <= 17);  // "00:1A:2B:3C:4D:5E"
        T27_FUZZ_CHECK(unit.ip.size() <= 15);   // "255.255.255.255"
    }

    t27::DiscoveryState state;
    t27::discovery_start(state);
    const auto listed = t27::discovery_accept(state, datagram);
    T27_FUZZ_CHECK(listed.size() == answer.units.size());
    T27_FUZZ_CHECK(state.found_count == static_cast<int>(listed.size()));
    for (std::size_t i = 0; i < listed.size(); ++i)
        T27_FUZZ_CHECK(listed[i].index == static_cast<int>(i) + 1);
    return 0;
}
