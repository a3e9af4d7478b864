#include "edid/edid_buffer.h"

namespace t27 {

bool edid_store(EdidBuffer& buf, const std::string& bytes) {
    if (bytes.size() > buf.data.size()) return false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        buf.data[i] = static_cast<std::uint8_t>(bytes[i]);
    }
    buf.size = static_cast<int>(bytes.size());
    return true;
}

}  // namespace t27
