#include "edid/edid_cli.h"

#include "common/json_out.h"
#include "edid/analysis_report.h"
#include "edid/check_labels.h"
#include "edid/edid_check.h"
#include "edid/edid_compare.h"
#include "edid/edid_files.h"
#include "edid/edid_writers.h"
#include "edid/edit_cli.h"
#include "edid/hex_digits.h"

namespace t27 {

namespace {

const std::string usage_text =
    std::string(
        "usage: t27ctl edid report FILE\n"
        "       t27ctl edid check [--json] FILE\n"
        "       t27ctl edid convert IN OUT [--hex-type simple|c]\n"
        "       t27ctl edid compare [--json] A B\n") +
    edid_edit_usage +
    "FILE, IN, A and B are .hex, .bin or .ddc files; OUT ends in .hex or .bin.\n"
    "--json prints one JSON document:\n"
    "  check    {\"file\", \"valid\", \"error\" (null when valid), \"type\",\n"
    "           \"manufacturer\", \"model\", \"native\", \"checksums\": [{\"block\",\n"
    "           \"expected\", \"stored\", \"ok\"}]}\n"
    "  compare  {\"a\", \"b\", \"match\", \"result\", \"differing\": [{\"offset\",\n"
    "           \"a\", \"b\"}]}\n"
    "exit 0 done (valid, or images match), 1 check failed or images differ,\n"
    "     64 usage, 65 not an EDID file of its kind, 66 unreadable input,\n"
    "     73 output not written.\n";

int usage(std::ostream& err, const std::string& why = {}) {
    if (!why.empty()) err << "t27ctl edid: " << why << "\n";
    err << usage_text;
    return edid_cli_usage;
}

// Loads a file as the WRITE side does after OPEN, and checks it. Returns 0 or
// the exit code of the failure, which has been reported on `err`.
int load_checked(const std::string& path, EdidLoad& load, EdidBuffer& working, std::ostream& err) {
    if (int rc = edid_cli_load(path, load, err)) return rc;
    edid_check(load.buffer, working);
    return edid_cli_ok;
}

int cmd_report(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2) return usage(err, "report takes one file");
    EdidLoad load;
    EdidBuffer working;
    if (int rc = load_checked(args[1], load, working, err)) return rc;
    out << edid_report_text(working);
    return edid_cli_ok;
}

// The words after the verb without "--json"; `json` says whether it was there.
std::vector<std::string> operands(const std::vector<std::string>& args, bool& json) {
    std::vector<std::string> rest;
    json = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--json")
            json = true;
        else
            rest.push_back(args[i]);
    }
    return rest;
}

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

int cmd_check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool json = false;
    const std::vector<std::string> files = operands(args, json);
    if (files.size() != 1) return usage(err, "check takes one file");
    EdidLoad load;
    EdidBuffer working;
    if (int rc = load_checked(files[0], load, working, err)) return rc;
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

int cmd_convert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> files;
    EdidHexType hex_type = EdidHexType::simple;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string value;
        if (args[i] == "--hex-type") {
            if (i + 1 >= args.size()) return usage(err, "--hex-type needs simple or c");
            value = args[++i];
        } else if (args[i].rfind("--hex-type=", 0) == 0) {
            value = args[i].substr(11);
        } else {
            files.push_back(args[i]);
            continue;
        }
        const auto named = edid_hex_type_named(value);
        if (!named) return usage(err, "unknown hex type '" + value + "' (simple or c)");
        hex_type = *named;
    }
    if (files.size() != 2) return usage(err, "convert takes an input and an output file");
    const auto format = edid_save_format_of(files[1]);
    if (!format) return usage(err, "the output file must end in .hex or .bin");
    EdidLoad load;
    EdidBuffer working;
    if (int rc = load_checked(files[0], load, working, err)) return rc;
    std::string why;
    if (!edid_file_save(files[1], load.text, *format, hex_type, &why)) {
        err << "t27ctl edid: " << why << "\n";
        return edid_cli_cannot_write;
    }
    out << "wrote " << files[1] << "\n";
    return edid_cli_ok;
}

int cmd_compare(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool json = false;
    const std::vector<std::string> files = operands(args, json);
    if (files.size() != 2) return usage(err, "compare takes two files");
    EdidLoad a;
    EdidLoad b;
    EdidBuffer working;
    if (int rc = load_checked(files[0], a, working, err)) return rc;
    if (int rc = load_checked(files[1], b, working, err)) return rc;
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

}  // namespace

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

int edid_cli_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return usage(err);
    const std::string& verb = args[0];
    if (verb == "--help" || verb == "-h" || verb == "help") {
        out << usage_text;
        return edid_cli_ok;
    }
    if (verb == "report") return cmd_report(args, out, err);
    if (verb == "check") return cmd_check(args, out, err);
    if (verb == "convert") return cmd_convert(args, out, err);
    if (verb == "compare") return cmd_compare(args, out, err);
    if (verb == "edit") return edid_cli_edit(args, out, err);
    if (verb == "decode") return edid_cli_decode(args, out, err);
    return usage(err, "unknown command '" + verb + "'");
}

}  // namespace t27
