#pragma once
#include <string>

namespace t27 {

// Name of an extension block by its tag byte (byte 0 of the block).
std::string extension_tag_name(int tag);

}  // namespace t27
