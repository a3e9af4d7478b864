// `t27ctl LINK edid read SOURCE -o FILE [--hex-type simple|c]`: an EDID of
// the unit into a file, as the READ side reads and SAVE writes it.
#include <functional>

#include "app/t27ctl/edid_unit.h"
#include "common/console.h"
#include "edid/edid_check.h"
#include "edid/edid_files.h"
#include "edid/unit/edid_items.h"
#include "edid/edid_writers.h"
#include "edid/unit/unit_exchange.h"

namespace t27 {

int edid_read_run(Engine& engine, const CtlArgs& args, std::ostream& out, std::ostream& err) {
    const std::string& source = args.words[0];
    const std::string& file = args.out_file;
    const EdidHexType hex_type = *edid_hex_type_named(args.hex_type);
    const int item = edid_read_item_of(source);
    if (item == 0) return ctl_usage_error(err, "edid read", "unknown source '" + source + "'");
    if (!edid_item_usable(item, engine.unit().model_family))
        return ctl_usage_error(err, "edid read", "sink_v is only read from a V4-family unit");
    const auto format = edid_save_format_of(file);
    if (!format) return ctl_usage_error(err, "edid read", "the file must end in .hex or .bin");

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
    edid_cli_print_check(working, out);
    std::string why;
    if (!edid_file_save(file, r.text, *format, hex_type, &why)) {
        err << "t27ctl edid: " << why << "\n";
        return edid_cli_cannot_write;
    }
    out << "wrote " << file << "\n";
    return working.type_code == edid_type_invalid ? edid_cli_negative : edid_cli_ok;
}

}  // namespace t27
