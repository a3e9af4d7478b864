// `t27ctl edid compare [--json] A B`: the compare result and the differing bytes.
#include "app/t27ctl/edid_commands.h"
#include "common/json_out.h"
#include "edid/edid_check.h"
#include "edid/edid_compare.h"
#include "edid/edid_files.h"
#include "edid/hex_digits.h"

namespace t27 {

int edid_compare_run(const CtlArgs& args, std::ostream& out, std::ostream& err) {
    const bool json = args.json;
    const std::vector<std::string>& files = args.words;
    EdidLoad a;
    EdidLoad b;
    EdidBuffer working;
    if (int rc = edid_cli_load_checked(files[0], a, working, err)) return rc;
    if (int rc = edid_cli_load_checked(files[1], b, working, err)) return rc;
    const EdidCompare r = edid_compare(a.text, a.buffer, b.text, b.buffer);
    if (json) {
        json::Array differing;
        for (int p : r.differing)
            differing.add_raw(json::Object()
                                  .add("offset", p)
                                  .add("a", static_cast<int>(a.buffer.byte(p)))
                                  .add("b", static_cast<int>(b.buffer.byte(p)))
                                  .str());
        out << json::Object()
                   .add("a", files[0])
                   .add("b", files[1])
                   .add("match", r.differing.empty())
                   .add("result", r.msg1 + r.msg2)
                   .add_raw("differing", differing.str())
                   .str()
            << "\n";
        return r.differing.empty() ? edid_cli_ok : edid_cli_negative;
    }
    out << r.msg1 << r.msg2 << "\n";
    for (int p : r.differing) {
        out << "byte " << p << " (" << hex_upper(static_cast<unsigned>(p))
            << "h): " << hex_upper(static_cast<unsigned>(a.buffer.byte(p)), 2) << " "
            << hex_upper(static_cast<unsigned>(b.buffer.byte(p)), 2) << "\n";
    }
    return r.differing.empty() ? edid_cli_ok : edid_cli_negative;
}

}  // namespace t27
