#include <array>
#include <string_view>

#include "analyser/name_table.h"
#include "analyser/packet_decode.h"

namespace t27 {

namespace {

constexpr std::array<std::string_view, 14> source_device_names = {
    "Unknown", "Digital STB", "DVD Player", "D-VHS",      "HDD Videorecoder", "DVC",
    "DSC",     "Video CD",    "Game",       "PC General", "BluRay Disc(BD)",  "Super Audio CD",
    "HD DVD",  "PMP"};

// Characters taken in order from `first` for at most `count` bytes, stopping
// before the first 0 byte. One byte is one character of the 8-bit code page.
std::string text_field(const PacketBytes& b, std::size_t first, std::size_t count) {
    std::string out;
    for (std::size_t i = first; i < first + count && i < b.size(); ++i) {
        if (b[i] == 0) break;
        out += static_cast<char>(b[i]);
    }
    return out;
}

}  // namespace

void decode_spd(const PacketBytes& b, PacketFields& f) {
    f.VendorName = text_field(b, 4, 8);
    f.ProductDescription = text_field(b, 12, 16);
    f.SourceDeviceText = table_text(source_device_names, b[28], "Reserved");
}

}  // namespace t27
