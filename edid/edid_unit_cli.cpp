#include "edid/edid_unit_cli.h"

#include <functional>

#include "common/console.h"
#include "edid/check_labels.h"
#include "edid/edid_check.h"
#include "edid/edid_cli.h"
#include "edid/edid_files.h"
#include "edid/edid_items.h"
#include "edid/edid_writers.h"
#include "edid/unit_exchange.h"
#include "protocol/request_text.h"

namespace t27 {

namespace {

const char* const usage_text =
    "usage: t27ctl [LINK OPTIONS] edid read SOURCE -o FILE [--hex-type simple|c]\n"
    "       t27ctl [LINK OPTIONS] edid write SLOT FILE\n"
    "SOURCE: sink_h, sink_v, d1..d10, c1..c10; SLOT: sink_h, sink_v, c1..c10.\n"
    "read saves .hex or .bin by the file's extension; write takes .hex, .bin or .ddc.\n";

int usage(std::ostream& err, const std::string& why) {
    err << "t27ctl edid: " << why << "\n" << usage_text;
    return edid_cli_usage;
}

// The item of a selector that names `slot`, or 0.
int read_item_of(const std::string& slot) {
    for (int i = 1; i <= edid_read_item_count; ++i)
        if (slot == edid_read_item(i).slot) return i;
    return 0;
}
int write_item_of(const std::string& slot) {
    for (int i = 1; i <= edid_write_item_count; ++i)
        if (slot == edid_write_item(i).slot) return i;
    return 0;
}

// What the READ or WRITE side's labels would say after the check.
void print_check(const EdidBuffer& checked, std::ostream& out) {
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

int cmd_read(Engine& engine, const std::vector<std::string>& args, std::ostream& out,
             std::ostream& err) {
    std::string source, file;
    EdidHexType hex_type = EdidHexType::simple;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size()) {
            file = args[++i];
        } else if (args[i] == "--hex-type" && i + 1 < args.size()) {
            const auto named = edid_hex_type_named(args[++i]);
            if (!named) return usage(err, "--hex-type is simple or c");
            hex_type = *named;
        } else if (source.empty() && args[i][0] != '-') {
            source = args[i];
        } else {
            return usage(err, "unexpected '" + args[i] + "'");
        }
    }
    if (source.empty() || file.empty()) return usage(err, "read needs SOURCE and -o FILE");
    const int item = read_item_of(source);
    if (item == 0) return usage(err, "unknown source '" + source + "'");
    if (!edid_item_usable(item, engine.unit().model_family))
        return usage(err, "sink_v is only read from a V4-family unit");
    const auto format = edid_save_format_of(file);
    if (!format) return usage(err, "the file must end in .hex or .bin");

    // Over serial a four-block read takes a while; a person at a terminal
    // sees which block is on the way. Logs and pipes get none of it.
    std::function<void(int)> on_block;
    std::size_t shown = 0;
    if (engine.link().link_interface == interface_rs232 && stderr_is_terminal()) {
        on_block = [&](int block) {
            const std::string line =
                "t27ctl: reading " + source + " block " + std::to_string(block) + "...";
            err << "\r" << line << std::flush;
            shown = line.size();
        };
    }
    EdidReadResult r = edid_read_unit(engine, source, {}, on_block);
    if (shown > 0) err << "\r" << std::string(shown, ' ') << "\r" << std::flush;
    if (r.end != EdidReadEnd::complete) {
        err << "t27ctl edid: the unit gave no complete EDID from " << source << "\n";
        return edid_cli_unit_failed;
    }
    EdidBuffer working;
    edid_check(r.buffer, working);
    print_check(working, out);
    std::string why;
    if (!edid_file_save(file, r.text, *format, hex_type, &why)) {
        err << "t27ctl edid: " << why << "\n";
        return edid_cli_cannot_write;
    }
    out << "wrote " << file << "\n";
    return working.type_code == edid_type_invalid ? edid_cli_negative : edid_cli_ok;
}

int cmd_write(Engine& engine, const std::vector<std::string>& args, std::ostream& out,
              std::ostream& err) {
    if (args.size() != 3) return usage(err, "write takes a slot and a file");
    const std::string& slot = args[1];
    const int item = write_item_of(slot);
    if (item == 0) return usage(err, "unknown slot '" + slot + "'");
    if (!edid_item_usable(item, engine.unit().model_family))
        return usage(err, "sink_v is only written on a V4-family unit");

    EdidLoad load = edid_file_load(args[2]);
    if (load.error == EdidLoadError::unreadable) {
        err << "t27ctl edid: " << load.io_message << "\n";
        return edid_cli_no_input;
    }
    if (!load.ok()) {
        err << "t27ctl edid: " << args[2] << ": " << edid_load_error_name(load.error) << "\n";
        return edid_cli_bad_data;
    }
    edid_write_side_size_fix(load.buffer);
    EdidBuffer working;
    edid_check(load.buffer, working);
    print_check(working, out);
    if (!edid_write_unit(engine, slot, load.buffer)) {
        err << "t27ctl edid: the unit did not take the EDID into " << slot << "\n";
        return edid_cli_unit_failed;
    }
    out << "wrote " << slot << "\n";
    if (edid_write_item_user_slot(item) != 0) {
        const TypeLabels t = type_labels_show(working);
        out << "Name: "
            << terminal_text(edid_written_slot_name(t.manufacturer, t.model1, t.model2)) << "\n";
    }
    return edid_cli_ok;
}

}  // namespace

bool edid_unit_cli_verb(const std::string& verb) { return verb == "read" || verb == "write"; }

int edid_unit_cli(Engine& engine, const std::vector<std::string>& args, std::ostream& out,
                  std::ostream& err) {
    if (args.empty() || !edid_unit_cli_verb(args[0])) return usage(err, "read or write expected");
    return args[0] == "read" ? cmd_read(engine, args, out, err) : cmd_write(engine, args, out, err);
}

}  // namespace t27
