// `t27ctl LINK edid write SLOT FILE`: a file into a slot of the unit, as
// OPEN and the write button do it.
#include "app/t27ctl/edid_unit.h"
#include "edid/check_labels.h"
#include "edid/edid_check.h"
#include "edid/edid_files.h"
#include "edid/unit/edid_items.h"
#include "edid/unit/unit_exchange.h"

#include "protocol/request_text.h"

namespace t27 {

int edid_write_run(Engine& engine, const CtlArgs& args, std::ostream& out, std::ostream& err) {
    const std::string& slot = args.words[0];
    const std::string& file = args.words[1];
    const int item = edid_write_item_of(slot);
    if (item == 0) return ctl_usage_error(err, "edid write", "unknown slot '" + slot + "'");
    if (!edid_item_usable(item, engine.unit().model_family))
        return ctl_usage_error(err, "edid write", "sink_v is only written on a V4-family unit");

    EdidLoad load = edid_file_load(file);
    if (load.error == EdidLoadError::unreadable) {
        err << "t27ctl edid: " << load.io_message << "\n";
        return edid_cli_no_input;
    }
    if (!load.ok()) {
        err << "t27ctl edid: " << file << ": " << edid_load_error_name(load.error) << "\n";
        return edid_cli_bad_data;
    }
    edid_write_side_size_fix(load.buffer);
    EdidBuffer working;
    edid_check(load.buffer, working);
    edid_cli_print_check(working, out);
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

}  // namespace t27
