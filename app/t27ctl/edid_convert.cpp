// `t27ctl edid convert IN OUT [--hex-type simple|c]`: OUT as .hex or .bin by
// its extension, as SAVE writes it.
#include "app/t27ctl/edid_commands.h"
#include "edid/edid_check.h"
#include "edid/edid_files.h"
#include "edid/edid_writers.h"

namespace t27 {

int edid_convert_run(const CtlArgs& args, std::ostream& out, std::ostream& err) {
    const std::vector<std::string>& files = args.words;
    const EdidHexType hex_type = *edid_hex_type_named(args.hex_type);
    const auto format = edid_save_format_of(files[1]);
    if (!format) return ctl_usage_error(err, "edid convert", "the output file must end in .hex or .bin");
    EdidLoad load;
    EdidBuffer working;
    if (int rc = edid_cli_load_checked(files[0], load, working, err)) return rc;
    std::string why;
    if (!edid_file_save(files[1], load.text, *format, hex_type, &why)) {
        err << "t27ctl edid: " << why << "\n";
        return edid_cli_cannot_write;
    }
    out << "wrote " << files[1] << "\n";
    return edid_cli_ok;
}

}  // namespace t27
