#include "edid/edit/edit_check.h"

#include "edid/check_labels.h"
#include "edid/edid_check.h"

namespace t27 {

std::string edid_check_line(const std::string& image) {
    EdidBuffer buf;
    edid_store(buf, image);
    edid_write_side_size_fix(buf);
    edid_check_in_place(buf);
    const MessageLabels msg = check_message_labels(buf);
    const TypeLabels type = type_labels_show(buf);
    std::string line = msg.visible ? msg.msg1 + " " + msg.msg2 : type.type.value_or("");
    std::string sums;
    for (const ChecksumLabel& l : checksum_labels_show(buf))
        if (l.caption.find('=') != std::string::npos) sums += (sums.empty() ? "" : " ") + l.caption;
    if (!sums.empty()) line += " | " + sums;
    if (!type.manufacturer.empty()) line += " | " + type.manufacturer;
    if (!type.model1.empty()) line += " | " + type.model1 + type.model2;
    if (type.native) line += " | " + *type.native;
    return line;
}

}  // namespace t27
