// Fields of the base block's parts and of the 18-byte descriptors.
#include <cstdio>

#include "edid/edit/edit_field_make.h"
#include "edid/edit/edit_schema.h"
#include "edid/edit/edit_schema_parts.h"

namespace t27 {

using namespace field_make;

namespace {

const std::vector<std::string> bit_depth_names = {"undefined", "6 bits",  "8 bits",  "10 bits",
                                                  "12 bits",   "14 bits", "16 bits", "reserved"};
const std::vector<std::string> interface_names = {"undefined", "DVI",  "HDMI-a",
                                                  "HDMI-b",    "MDDI", "DisplayPort"};
const std::vector<std::string> signal_level_names = {"0.700/0.300 V", "0.714/0.286 V",
                                                     "1.000/0.400 V", "0.700/0.000 V"};
const std::vector<std::string> analog_colour_names = {"monochrome", "RGB colour", "non-RGB colour",
                                                      "undefined"};
const std::vector<std::string> digital_colour_names = {"RGB 4:4:4", "RGB 4:4:4 + YCrCb 4:4:4",
                                                       "RGB 4:4:4 + YCrCb 4:2:2",
                                                       "RGB 4:4:4 + YCrCb 4:4:4 + YCrCb 4:2:2"};
const std::vector<std::string> aspect_names = {"16:10", "4:3", "5:4", "16:9"};
const std::vector<std::string> sync_type_names = {"analog composite", "bipolar analog composite",
                                                  "digital composite", "digital separate"};
const std::vector<std::string> timing_support_names = {"default GTF", "range limits only",
                                                       "secondary GTF", "", "CVT"};

std::vector<EdidField> vendor_fields() {
    EdidField maker = num("manufacturer", "Manufacturer", {{0, 0, 7}, {1, 0, 8}});
    maker.type = FieldType::letters;
    return {maker, num("product_code", "Product code", {{3, 0, 8}, {2, 0, 8}}),
            num("serial_number", "Serial number", {{7, 0, 8}, {6, 0, 8}, {5, 0, 8}, {4, 0, 8}}),
            byte("week", "Week (0 none, 255 model year)", 8),
            num("year", "Year", {{9, 0, 8}}, {}, 1, 1990)};
}

std::vector<EdidField> display_fields(const std::string& b) {
    std::vector<EdidField> f = {flag("digital_input", "Digital input", 0, 7)};
    const bool digital = part_byte(b, 0) & 0x80;
    if (digital) {
        f.push_back(choice("bit_depth", "Colour bit depth", {{0, 4, 3}}, bit_depth_names));
        f.push_back(choice("interface", "Interface", {{0, 0, 4}}, interface_names));
    } else {
        f.push_back(choice("signal_level", "Signal level", {{0, 5, 2}}, signal_level_names));
        flags(f, "", 0,
              {"Serrations", "Sync on green", "Composite sync", "Separate sync",
               "Blank-to-black setup"});
    }
    f.push_back(byte("screen_width", "Screen width", 1, "cm"));
    f.push_back(byte("screen_height", "Screen height", 2, "cm"));
    f.push_back(num("gamma", "Gamma x100", {{3, 0, 8}}, {}, 1, 100));
    f.push_back(flag("standby", "DPMS standby", 4, 7));
    f.push_back(flag("suspend", "DPMS suspend", 4, 6));
    f.push_back(flag("active_off", "DPMS active off", 4, 5));
    f.push_back(
        digital ? choice("colour_encoding", "Colour encodings", {{4, 3, 2}}, digital_colour_names)
                : choice("display_type", "Display type", {{4, 3, 2}}, analog_colour_names));
    f.push_back(flag("srgb", "sRGB default colour space", 4, 2));
    f.push_back(flag("preferred_native", "First timing is preferred and native", 4, 1));
    f.push_back(flag("continuous", "Continuous frequency", 4, 0));
    return f;
}

std::vector<EdidField> colour_fields() {
    // The high 8 bits of each coordinate have a byte of their own; the low
    // 2 bits are packed four to a byte in bytes 0 and 1.
    const char* names[] = {"red_x",  "red_y",  "green_x", "green_y",
                           "blue_x", "blue_y", "white_x", "white_y"};
    const char* labels[] = {"Red x",  "Red y",  "Green x", "Green y",
                            "Blue x", "Blue y", "White x", "White y"};
    std::vector<EdidField> f;
    for (int i = 0; i < 8; ++i)
        f.push_back(
            num(names[i], labels[i], {{2 + i, 0, 8}, {i / 4, 6 - 2 * (i % 4), 2}}, "/1024"));
    return f;
}

std::vector<EdidField> established_fields() {
    std::vector<EdidField> f;
    flags(f, "", 0,
          {"800x600 60Hz", "800x600 56Hz", "640x480 75Hz", "640x480 72Hz", "640x480 67Hz",
           "640x480 60Hz", "720x400 88Hz", "720x400 70Hz"});
    flags(f, "", 1,
          {"1280x1024 75Hz", "1024x768 75Hz", "1024x768 70Hz", "1024x768 60Hz",
           "1024x768 87Hz interlaced", "832x624 75Hz", "800x600 75Hz", "800x600 72Hz"});
    f.push_back(flag("1152x870_75hz", "1152x870 75Hz", 2, 7));
    f.push_back(num("manufacturer_timings", "Manufacturer's timings", {{2, 0, 7}}));
    return f;
}

std::vector<EdidField> standard_fields(const std::string& bytes) {
    std::vector<EdidField> f;
    for (int i = 0; i < 8; ++i) {
        const std::string n = std::to_string(i + 1);
        EdidField unused = flag("st" + n + "_unused", "Standard timing " + n + " unused", 2 * i, 0);
        unused.type = FieldType::unused;
        f.push_back(unused);
        // 01 01 is no timing: 256 wide at 61 Hz would be a wrong reading.
        if (field_raw(bytes, unused)) continue;
        f.push_back(num("st" + n + "_width", "Standard timing " + n + " width", {{2 * i, 0, 8}},
                        "px", 8, 248));
        f.push_back(choice("st" + n + "_aspect", "Standard timing " + n + " aspect",
                           {{2 * i + 1, 6, 2}}, aspect_names));
        f.push_back(num("st" + n + "_rate", "Standard timing " + n + " rate", {{2 * i + 1, 0, 6}},
                        "Hz", 1, 60));
    }
    return f;
}

std::vector<EdidField> range_limit_fields() {
    return {byte("min_v_rate", "Min vertical rate", 5, "Hz"),
            byte("max_v_rate", "Max vertical rate", 6, "Hz"),
            byte("min_h_rate", "Min horizontal rate", 7, "kHz"),
            byte("max_h_rate", "Max horizontal rate", 8, "kHz"),
            num("max_pixel_clock", "Max pixel clock", {{9, 0, 8}}, "MHz", 10),
            choice("timing_support", "Timing support", {{10, 0, 8}}, timing_support_names)};
}

}  // namespace

std::string timing_rates(const std::string& bytes, int at) {
    const long long clock = 10000LL * (part_byte(bytes, at) | part_byte(bytes, at + 1) << 8);
    const int h_total = (part_byte(bytes, at + 2) | (part_byte(bytes, at + 4) >> 4) << 8) +
                        (part_byte(bytes, at + 3) | (part_byte(bytes, at + 4) & 0x0F) << 8);
    const int v_total = (part_byte(bytes, at + 5) | (part_byte(bytes, at + 7) >> 4) << 8) +
                        (part_byte(bytes, at + 6) | (part_byte(bytes, at + 7) & 0x0F) << 8);
    if (clock == 0 || h_total == 0 || v_total == 0) return {};
    const double line = static_cast<double>(clock) / h_total;
    // An interlaced timing's lines are a field's: its rate is the field rate.
    char text[96];
    std::snprintf(text, sizeof text, "%.2f MHz, %.2f Hz, %.2f kHz", clock / 1e6, line / v_total,
                  line / 1e3);
    return text;
}

std::vector<EdidField> timing_fields(int at) {
    std::vector<EdidField> f = {
        num("pixel_clock", "Pixel clock", {{at + 1, 0, 8}, {at, 0, 8}}, "x10 kHz"),
        num("h_active", "H active", {{at + 4, 4, 4}, {at + 2, 0, 8}}, "px"),
        num("h_blank", "H blanking", {{at + 4, 0, 4}, {at + 3, 0, 8}}, "px"),
        num("v_active", "V active", {{at + 7, 4, 4}, {at + 5, 0, 8}}, "lines"),
        num("v_blank", "V blanking", {{at + 7, 0, 4}, {at + 6, 0, 8}}, "lines"),
        num("h_sync_offset", "H sync offset", {{at + 11, 6, 2}, {at + 8, 0, 8}}, "px"),
        num("h_sync_width", "H sync width", {{at + 11, 4, 2}, {at + 9, 0, 8}}, "px"),
        num("v_sync_offset", "V sync offset", {{at + 11, 2, 2}, {at + 10, 4, 4}}, "lines"),
        num("v_sync_width", "V sync width", {{at + 11, 0, 2}, {at + 10, 0, 4}}, "lines"),
        num("h_size", "H image size", {{at + 14, 4, 4}, {at + 12, 0, 8}}, "mm"),
        num("v_size", "V image size", {{at + 14, 0, 4}, {at + 13, 0, 8}}, "mm"),
        byte("h_border", "H border", at + 15, "px"),
        byte("v_border", "V border", at + 16, "lines"),
        flag("interlaced", "Interlaced", at + 17, 7),
        num("stereo", "Stereo mode bits", {{at + 17, 5, 2}, {at + 17, 0, 1}}),
        choice("sync_type", "Sync", {{at + 17, 3, 2}}, sync_type_names),
        flag("v_sync_positive", "V sync positive / serrations", at + 17, 2),
        flag("h_sync_positive", "H sync positive / sync on all", at + 17, 1),
    };
    return f;
}

const std::vector<DescriptorType>& descriptor_types() {
    static const std::vector<DescriptorType> types = {
        {DescriptorKind::timing, -1, "Detailed timing", "timing"},
        {DescriptorKind::monitor_name, 0xFC, "Monitor name", "monitor_name"},
        {DescriptorKind::serial_text, 0xFF, "Serial number text", "serial_text"},
        {DescriptorKind::data_text, 0xFE, "Data text", "data_text"},
        {DescriptorKind::range_limits, 0xFD, "Range limits", "range_limits"},
        {DescriptorKind::dummy, 0x10, "Dummy", "dummy"},
        {DescriptorKind::other, -1, "Other descriptor", "other"},
    };
    return types;
}

const DescriptorType& descriptor_type(DescriptorKind kind) {
    for (const DescriptorType& t : descriptor_types())
        if (t.kind == kind) return t;
    return descriptor_types().back();
}

DescriptorKind descriptor_kind(const std::string& b) {
    if (part_byte(b, 0) != 0 || part_byte(b, 1) != 0) return DescriptorKind::timing;
    for (const DescriptorType& t : descriptor_types())
        if (t.tag >= 0 && t.tag == part_byte(b, 3)) return t.kind;
    return DescriptorKind::other;
}

const char* descriptor_kind_label(DescriptorKind kind) { return descriptor_type(kind).label; }

std::vector<EdidField> descriptor_fields(const std::string& b) {
    const DescriptorKind kind = descriptor_kind(b);
    switch (kind) {
        case DescriptorKind::timing:
            return timing_fields(0);
        case DescriptorKind::monitor_name:
        case DescriptorKind::serial_text:
        case DescriptorKind::data_text: {
            EdidField t = num(descriptor_type(kind).key, descriptor_kind_label(kind), {{5, 0, 8}});
            t.type = FieldType::text;
            t.length = 13;
            return {t};
        }
        case DescriptorKind::range_limits:
            return range_limit_fields();
        case DescriptorKind::dummy:
        case DescriptorKind::other:
            break;
    }
    return {read_only(byte("tag", "Tag", 3))};
}

std::vector<EdidField> base_part_fields(const EdidPart& part) {
    switch (part.role) {
        case EdidPartRole::vendor:
            return vendor_fields();
        case EdidPartRole::version:
            return {byte("version", "Version", 0), byte("revision", "Revision", 1)};
        case EdidPartRole::display:
            return display_fields(part.bytes);
        case EdidPartRole::colour:
            return colour_fields();
        case EdidPartRole::established:
            return established_fields();
        case EdidPartRole::standard:
            return standard_fields(part.bytes);
        case EdidPartRole::descriptor:
            return descriptor_fields(part.bytes);
        case EdidPartRole::extension_count:
            return {read_only(byte("extension_count", "Extension blocks", 0))};
        default:
            break;
    }
    return {};
}

}  // namespace t27
