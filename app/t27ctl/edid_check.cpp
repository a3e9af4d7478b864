// `t27ctl edid check [--json] FILE`: what the WRITE side's labels say of a file.
#include "app/t27ctl/edid_commands.h"
#include "common/json_out.h"
#include "edid/check_labels.h"
#include "edid/edid_check.h"
#include "edid/edid_files.h"

namespace t27 {

namespace {

// What "check" found, worked out once for either way of printing it.
struct CheckFindings {
    MessageLabels msg;
    TypeLabels type;
    bool block_count_error;
};

void check_json(const std::string& file, const EdidBuffer& working, const CheckFindings& found,
                std::ostream& out) {
    const MessageLabels& msg = found.msg;
    const TypeLabels& type = found.type;
    json::Object j;
    j.add("file", file).add("valid", !msg.visible);
    if (msg.visible)
        j.add("error", msg.msg1 + " " + msg.msg2);
    else
        j.add_null("error");
    if (type.type)
        j.add("type", *type.type);
    else
        j.add_null("type");
    j.add("manufacturer", type.manufacturer).add("model", type.model1 + type.model2);
    if (type.native)
        j.add("native", *type.native);
    else
        j.add_null("native");
    json::Array sums;
    for (int b = 0; !found.block_count_error && b < working.block_count && b < edid_max_blocks;
         ++b) {
        const int expected = working.checksums[static_cast<std::size_t>(b)];
        const int stored = working.byte(edid_block_bytes * b + 127);
        sums.add_raw(json::Object()
                         .add("block", b)
                         .add("expected", expected)
                         .add("stored", stored)
                         .add("ok", expected == stored)
                         .str());
    }
    out << j.add_raw("checksums", sums.str()).str() << "\n";
}

}  // namespace

int edid_check_run(const CtlArgs& args, std::ostream& out, std::ostream& err) {
    const bool json = args.json;
    const std::vector<std::string>& files = args.words;
    EdidLoad load;
    EdidBuffer working;
    if (int rc = edid_cli_load_checked(files[0], load, working, err)) return rc;
    const CheckFindings found{
        check_message_labels(working), type_labels_show(working),
        working.type_code == edid_type_invalid && working.type_detail == edid_error_block_count};
    const MessageLabels& msg = found.msg;
    const TypeLabels& type = found.type;
    if (json) {
        check_json(files[0], working, found, out);
    } else if (msg.visible) {
        out << msg.msg1 << " " << msg.msg2 << "\n";
    } else {
        out << "Type: " << type.type.value_or("") << "\n";
    }
    if (!json && !found.block_count_error) {
        out << "Manufacturer: " << type.manufacturer << "\n";
        out << "Model: " << type.model1 << type.model2 << "\n";
        if (type.native) out << "Native: " << *type.native << "\n";
        for (const ChecksumLabel& l : checksum_labels_show(working)) {
            if (l.caption.find('=') != std::string::npos) out << l.caption << "\n";
        }
    }
    return msg.visible ? edid_cli_negative : edid_cli_ok;
}

}  // namespace t27
