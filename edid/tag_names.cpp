#include "edid/tag_names.h"

#include <array>

namespace t27 {

namespace {

struct TagName {
    int tag;
    const char* name;
};

constexpr std::array<TagName, 7> tag_names = {{
    {0x02, "CEA 861 Block"},
    {0x10, "Video Timing Block (VTB)"},
    {0x40, "Display Information (DI)"},
    {0x50, "Localized String (LS)"},
    {0x60, "Digital Packet Video Link(DPVL)"},
    {0xF0, "Block Map"},
    {0xFF, "Manufacturer Def."},
}};

}  // namespace

std::string extension_tag_name(int tag) {
    for (const TagName& t : tag_names) {
        if (t.tag == tag) return t.name;
    }
    return "Unknown Block Tag";
}

}  // namespace t27
