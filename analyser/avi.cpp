#include <array>
#include <string_view>

#include "analyser/name_table.h"
#include "analyser/packet_decode.h"
#include "analyser/packet_texts.h"
#include "analyser/value_text.h"
#include "edid/vic_names.h"

namespace t27 {

namespace {

constexpr std::array<std::string_view, 6> color_space_names = {
    "RGB", "YCbCr422", "YCbCr444", "YCbCr420", "IDO Define", "Reserved"};

// Y2..Y0 as sent -> stored colour space: 4..6 are reserved, 7 is IDO-defined.
constexpr std::array<int, 8> color_space_code = {0, 1, 2, 3, 5, 5, 5, 4};

constexpr std::array<std::string_view, 4> colorimetry_names = {"No Data", "ITU601", "ITU709",
                                                               "Extended Colorimetry"};

constexpr std::array<std::string_view, 7> ext_colorimetry_names = {
    "xvYCC601", "xvYCC709", "sYCC601", "Adobe 601", "Adobe RGB", "BT2020(1)", "BT2020(2)"};

constexpr std::array<std::string_view, 2> it_content_names = {"No", "Yes"};

// The name table covers VIC 0..128; later codes have no name of their own.
constexpr int last_named_vic = 128;

}  // namespace

std::string avi_color_space_text(int n) { return table_text(color_space_names, n); }
std::string avi_colorimetry_text(int n) { return table_text(colorimetry_names, n); }
std::string avi_ext_colorimetry_text(int n) {
    if (n == avi_ext_colorimetry_reserved) return "Reserved";
    return table_text(ext_colorimetry_names, n, "None");
}
std::string avi_it_content_text(int n) { return table_text(it_content_names, n); }

std::string avi_vic_text(int vic) {
    std::string text = lead_blank(vic);
    if (vic >= 0 && vic <= last_named_vic) {
        text += ' ';
        text += vic_name(vic);
    }
    return text;
}

void decode_avi(const PacketBytes& b, PacketFields& f) {
    f.ColorSpace = color_space_code[(b[4] >> 5) & 0x07];
    f.Colorimetry = (b[5] >> 6) & 0x03;
    f.ItContent = (b[6] >> 7) & 0x01;
    // EC2..EC0 mean something only under colorimetry 3; a value kept from an
    // earlier extended source would describe a gamut this one never sent.
    f.ExtColorimetry = f.Colorimetry == 3 ? (b[6] >> 4) & 0x07 : packet_none_marker;
    f.Vic = b[7];
    const int repeat = b[8] & 0x0F;
    if (repeat <= 9) f.PixelRepetition = repeat + 1;
}

}  // namespace t27
