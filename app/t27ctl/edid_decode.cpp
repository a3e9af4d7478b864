// `t27ctl edid decode FILE [--json]`: the editor's model as a tree.
#include "app/t27ctl/edid_commands.h"
#include "edid/edit/edit_decode.h"
#include "edid/edit/edit_model.h"

namespace t27 {

int edid_decode_run(const CtlArgs& args, std::ostream& out, std::ostream& err) {
    std::optional<EdidModel> model;
    if (int rc = edid_cli_load_model(args.words[0], model, err)) return rc;
    out << (args.json ? edid_decode_json(*model) : edid_decode_text(*model));
    return edid_cli_ok;
}

}  // namespace t27
