#include "app/t27ctl/edid_unit.h"

#include "edid/check_labels.h"
#include "edid/unit/edid_items.h"

#include "protocol/request_text.h"

namespace t27 {

int edid_read_item_of(const std::string& slot) {
    for (int i = 1; i <= edid_read_item_count; ++i)
        if (slot == edid_read_item(i).slot) return i;
    return 0;
}
int edid_write_item_of(const std::string& slot) {
    for (int i = 1; i <= edid_write_item_count; ++i)
        if (slot == edid_write_item(i).slot) return i;
    return 0;
}

void edid_cli_print_check(const EdidBuffer& checked, std::ostream& out) {
    const MessageLabels msg = check_message_labels(checked);
    if (msg.visible) {
        out << msg.msg1 << " " << msg.msg2 << "\n";
    } else {
        const TypeLabels t = type_labels_show(checked);
        // The image's text may come from the unit: never raw to a terminal.
        out << "Type: " << t.type.value_or("") << "\n"
            << "Manufacturer: " << terminal_text(t.manufacturer) << "\n"
            << "Model: " << terminal_text(t.model1 + t.model2) << "\n";
        if (t.native) out << "Native: " << *t.native << "\n";
    }
    for (const ChecksumLabel& l : checksum_labels_show(checked))
        if (l.caption.find('=') != std::string::npos) out << l.caption << "\n";
}

int edid_unit_cli(Engine& engine, const std::vector<std::string>& args, std::ostream& out,
                  std::ostream& err) {
    // The link is the caller's; the tree still wants one named.
    std::vector<std::string> all = {"--tcp", "unit", "edid"};
    all.insert(all.end(), args.begin(), args.end());
    CtlArgs parsed;
    if (const std::optional<int> done = ctl_parse(all, parsed, out, err)) return *done;
    if (parsed.command == CtlCommand::edid_read) return edid_read_run(engine, parsed, out, err);
    if (parsed.command == CtlCommand::edid_write) return edid_write_run(engine, parsed, out, err);
    return ctl_usage_error(err, "edid", "read or write expected");
}

}  // namespace t27
