// A timing/pattern catalogue file from the program directory, which a user
// may have edited or damaged.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "generator/catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const t27::CatalogueParse p = t27::catalogue_parse(bytes);
    T27_FUZZ_CHECK(p.ok == p.error.empty());

    const t27::Catalogue& c = p.catalogue;
    // Each name is one field of the file, and fields end at a delimiter.
    T27_FUZZ_CHECK(c.timings.size() + c.patterns.size() <= size + 1);
    for (int n = 0; n <= c.timing_count() + 1; ++n) c.timing_name(n);
    for (int n = 0; n <= c.pattern_count() + 1; ++n) c.pattern_name(n);
    T27_FUZZ_CHECK(c.timing_name(0).empty() && c.timing_name(c.timing_count() + 1).empty());
    return 0;
}
