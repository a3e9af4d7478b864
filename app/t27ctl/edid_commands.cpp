#include "app/t27ctl/edid_commands.h"

#include "app/t27ctl/edid_edit.h"
#include "edid/edid_check.h"
#include "edid/edid_files.h"
#include "edid/edid_writers.h"
#include "edid/edit/edit_model.h"

namespace t27 {

int edid_cli_load(const std::string& path, EdidLoad& load, std::ostream& err) {
    load = edid_file_load(path);
    switch (load.error) {
        case EdidLoadError::none:
            edid_write_side_size_fix(load.buffer);
            return edid_cli_ok;
        case EdidLoadError::unreadable:
            err << "t27ctl edid: " << load.io_message << "\n";
            return edid_cli_no_input;
        case EdidLoadError::file_format:
            err << "t27ctl edid: " << path
                << ": File format (only .hex, .bin and .ddc files are read)\n";
            return edid_cli_bad_data;
        case EdidLoadError::data:
            break;
    }
    err << "t27ctl edid: " << path << ": Data (not an EDID image of that format)\n";
    return edid_cli_bad_data;
}

int edid_cli_load_checked(const std::string& path, EdidLoad& load, EdidBuffer& working,
                          std::ostream& err) {
    if (int rc = edid_cli_load(path, load, err)) return rc;
    edid_check(load.buffer, working);
    return edid_cli_ok;
}

int edid_cli_load_model(const std::string& path, std::optional<EdidModel>& model,
                        std::ostream& err) {
    EdidLoad load;
    if (int rc = edid_cli_load(path, load, err)) return rc;
    std::string why;
    const std::string image(load.buffer.data.begin(), load.buffer.data.begin() + load.buffer.size);
    model = EdidModel::parse(image, &why);
    if (!model) {
        err << "t27ctl edid: " << path << ": " << why << "\n";
        return edid_cli_bad_data;
    }
    return edid_cli_ok;
}

int edid_file_command_run(const CtlArgs& args, std::ostream& out, std::ostream& err) {
    switch (args.command) {
        case CtlCommand::edid_report:
            return edid_report_run(args, out, err);
        case CtlCommand::edid_check:
            return edid_check_run(args, out, err);
        case CtlCommand::edid_convert:
            return edid_convert_run(args, out, err);
        case CtlCommand::edid_compare:
            return edid_compare_run(args, out, err);
        case CtlCommand::edid_edit:
            return edid_edit_run(args, out, err);
        case CtlCommand::edid_decode:
            return edid_decode_run(args, out, err);
        default:
            break;
    }
    return ctl_usage_error(err, "edid", "not a command on files");
}

int edid_cli_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> all = {"edid"};
    all.insert(all.end(), args.begin(), args.end());
    CtlArgs parsed;
    if (const std::optional<int> done = ctl_parse(all, parsed, out, err)) return *done;
    return edid_file_command_run(parsed, out, err);
}

}  // namespace t27
