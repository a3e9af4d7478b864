// A .ddc file's content through the loader, the check, the decoders, the
// analysis report and the writers.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/edid_pipeline.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string content(reinterpret_cast<const char*>(data), size);
    t27::fuzz::edid_pipeline(t27::edid_read_ddc(content));
    return 0;
}
