#include "edid/check_labels.h"

#include "edid/base_block.h"
#include "edid/hex_digits.h"

namespace t27 {

namespace {

constexpr std::array<const char*, 3> hdmi_class_names = {"HDMI HD", "HDMI 3G", "HDMI 6G"};
constexpr std::array<const char*, 3> error_names = {"Header", "Checksum", "Block No."};

}  // namespace

std::string edid_type_name(int type_code, int type_detail) {
    if (type_code == edid_type_analog) return "ANALOG";
    if (type_code == edid_type_dvi) return "DVI";
    if (type_code == edid_type_hdmi && type_detail >= 0 &&
        type_detail < static_cast<int>(hdmi_class_names.size())) {
        return hdmi_class_names[static_cast<std::size_t>(type_detail)];
    }
    return {};
}

std::string edid_error_name(int type_detail) {
    if (type_detail < 0 || type_detail >= static_cast<int>(error_names.size())) return {};
    return error_names[static_cast<std::size_t>(type_detail)];
}

std::array<ChecksumLabel, edid_max_blocks> checksum_labels_show(const EdidBuffer& buf) {
    std::array<ChecksumLabel, edid_max_blocks> labels;
    for (int b = 0; b < edid_max_blocks; ++b) {
        labels[static_cast<std::size_t>(b)].caption = "BK" + std::to_string(b);
    }
    if (buf.type_code == edid_type_invalid && buf.type_detail == edid_error_block_count) {
        return labels;
    }
    for (int b = 0; b < buf.block_count && b < edid_max_blocks; ++b) {
        ChecksumLabel& l = labels[static_cast<std::size_t>(b)];
        const int expected = buf.checksums[static_cast<std::size_t>(b)];
        l.caption += "=" + hex_upper(static_cast<unsigned>(expected)) + "h";
        if (buf.byte(edid_block_bytes * b + 127) != expected) {
            l.colour = edid_error_colour;
            l.caption += " Error";
            l.recover_visible = true;
        }
    }
    return labels;
}

TypeLabels type_labels_show(const EdidBuffer& buf) {
    TypeLabels t;
    if (buf.type_code != edid_type_invalid) {
        t.type = edid_type_name(buf.type_code, buf.type_detail);
    }
    t.manufacturer = buf.manufacturer;
    if (buf.monitor_name.size() > 8) {
        t.model1 = buf.monitor_name.substr(0, 8);
        t.model2 = buf.monitor_name.substr(8);
    } else {
        t.model1 = buf.monitor_name;
    }
    if (buf.has_first_timing) t.native = edid_native_text(buf);
    return t;
}

MessageLabels check_message_labels(const EdidBuffer& buf) {
    MessageLabels m;
    if (buf.type_code != edid_type_invalid) return m;
    m.visible = true;
    m.msg1 = edid_wrong_caption;
    m.msg2 = edid_error_name(buf.type_detail);
    m.colour = edid_error_colour;
    return m;
}

MessageLabels load_message_labels(const std::string& error_name) {
    MessageLabels m;
    m.visible = true;
    m.msg1 = edid_wrong_caption;
    m.msg2 = error_name;
    m.colour = edid_plain_colour;
    return m;
}

}  // namespace t27
