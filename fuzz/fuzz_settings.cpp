// The settings file from the program directory, read, written at exit and
// read again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "settings/settings.h"

namespace {

bool same(const t27::Settings& a, const t27::Settings& b) {
    return a.link_interface == b.link_interface && a.eth_ip == b.eth_ip &&
           a.com_port == b.com_port && a.has_position == b.has_position &&
           (!a.has_position || (a.left == b.left && a.top == b.top)) && a.recent == b.recent;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const t27::SettingsParse p = t27::settings_parse(bytes);
    T27_FUZZ_CHECK(p.ok == p.error.empty());
    const t27::Settings& s = p.settings;
    T27_FUZZ_CHECK(s.link_interface == 0 || s.link_interface == 1);
    T27_FUZZ_CHECK(s.com_port >= t27::com_port_first && s.com_port <= t27::com_port_last);

    // The file the program writes at exit must read back whole: the first
    // write may tidy a value (a quote, a position in single precision), after
    // that nothing changes.
    const t27::SettingsParse once = t27::settings_parse(t27::settings_bytes(s));
    T27_FUZZ_CHECK(once.ok);
    const t27::SettingsParse twice = t27::settings_parse(t27::settings_bytes(once.settings));
    T27_FUZZ_CHECK(twice.ok);
    T27_FUZZ_CHECK(same(once.settings, twice.settings));
    return 0;
}
