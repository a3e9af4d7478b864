#include "edid/edit_cli.h"

#include <algorithm>
#include <optional>

#include "edid/edid_cli.h"
#include "edid/edid_files.h"
#include "edid/edid_writers.h"
#include "edid/edit_decode.h"
#include "edid/edit_ops.h"
#include "edid/hex_text.h"

namespace t27 {

const char* const edid_edit_usage =
    "       t27ctl edid edit IN OUT [--hex-type simple|c] [--force] [options]\n"
    "         --name TEXT  --manufacturer ABC  --product N  --serial N  --week N  --year N\n"
    "         --add-vic N[,N...]  --remove-vic N[,N...]  --native-vic N\n"
    "         --max-tmds-mhz N  --max-tmds-rate-mhz N  --hdr static|none\n"
    "         --audio FORMAT:CHANNELS:RATES[:SIZES] (repeatable)  --remove-block TAG\n"
    "       t27ctl edid decode FILE [--json]\n";

namespace {

std::optional<long long> number(const std::string& s) {
    long long v = 0;
    if (!edid_parse_number(s, v)) return std::nullopt;
    return v;
}

std::optional<std::vector<int>> number_list(const std::string& s) {
    std::vector<int> out;
    for (const std::string& piece : edid_split(s, ',')) {
        const auto n = number(piece);
        if (!n || *n > 255) return std::nullopt;
        out.push_back(static_cast<int>(*n));
    }
    return out;
}

// A parsed option value that is not even of the right form.
struct BadValue {
    std::string why;
};

EdidEdit vendor_field(EdidModel& m, const char* key, long long v) {
    return set_field_by_key(m, base_part(m, EdidPartRole::vendor), key, v);
}

long long need_number(const std::string& option, const std::string& value) {
    const auto n = number(value);
    if (!n) throw BadValue{option + " takes a number, not \"" + value + "\""};
    return *n;
}

std::vector<int> need_list(const std::string& option, const std::string& value) {
    const auto l = number_list(value);
    if (!l)
        throw BadValue{option + " takes VIC numbers separated by commas, not \"" + value + "\""};
    return *l;
}

using Apply = EdidEdit (*)(EdidModel&, const std::string& option, const std::string& value);

struct EditOption {
    const char* name;
    Apply apply;
};

const EditOption edit_options[] = {
    {"--name", [](EdidModel& m, const std::string&,
                  const std::string& v) { return edit_monitor_name(m, v); }},
    {"--manufacturer", [](EdidModel& m, const std::string&,
                          const std::string& v) { return edit_manufacturer(m, v); }},
    {"--product",
     [](EdidModel& m, const std::string& o, const std::string& v) {
         return vendor_field(m, "product_code", need_number(o, v));
     }},
    {"--serial",
     [](EdidModel& m, const std::string& o, const std::string& v) {
         return vendor_field(m, "serial_number", need_number(o, v));
     }},
    {"--week",
     [](EdidModel& m, const std::string& o, const std::string& v) {
         const long long week = need_number(o, v);
         if (week > 54 && week != 255)
             return EdidEdit{
                 "the week is 0 (none), 1 to 54, or 255 (the year is a model year), not " + v};
         return vendor_field(m, "week", week);
     }},
    {"--year", [](EdidModel& m, const std::string& o,
                  const std::string& v) { return vendor_field(m, "year", need_number(o, v)); }},
    {"--add-vic", [](EdidModel& m, const std::string& o,
                     const std::string& v) { return edit_add_vics(m, need_list(o, v)); }},
    {"--remove-vic", [](EdidModel& m, const std::string& o,
                        const std::string& v) { return edit_remove_vics(m, need_list(o, v)); }},
    {"--native-vic",
     [](EdidModel& m, const std::string& o, const std::string& v) {
         return edit_native_vic(m, static_cast<int>(std::min(need_number(o, v), 1000LL)));
     }},
    {"--max-tmds-mhz",
     [](EdidModel& m, const std::string& o, const std::string& v) {
         return edit_max_tmds_mhz(m, static_cast<int>(std::min(need_number(o, v), 100000LL)));
     }},
    {"--max-tmds-rate-mhz",
     [](EdidModel& m, const std::string& o, const std::string& v) {
         return edit_max_tmds_rate_mhz(m, static_cast<int>(std::min(need_number(o, v), 100000LL)));
     }},
    {"--hdr",
     [](EdidModel& m, const std::string& o, const std::string& v) {
         if (v != "static" && v != "none")
             throw BadValue{o + " takes static or none, not \"" + v + "\""};
         return edit_hdr_static(m, v == "static");
     }},
    {"--remove-block", [](EdidModel& m, const std::string&,
                          const std::string& v) { return edit_remove_data_blocks(m, v); }},
};

int usage(std::ostream& err, const std::string& why) {
    err << "t27ctl edid: " << why << "\n" << edid_edit_usage;
    return edid_cli_usage;
}

// Reads a file into the model. Returns 0, or the exit code of the failure
// after saying why on `err`.
int load_model(const std::string& path, std::optional<EdidModel>& model, std::ostream& err) {
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

struct PendingEdit {
    const EditOption* option;
    std::string name;
    std::string value;
};

}  // namespace

int edid_cli_edit(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> files;
    std::vector<PendingEdit> edits;
    std::vector<std::string> audio;
    EdidHexType hex_type = EdidHexType::simple;
    bool force = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0) {
            files.push_back(a);
            continue;
        }
        if (a == "--force") {
            force = true;
            continue;
        }
        if (i + 1 >= args.size()) return usage(err, a + " needs a value");
        const std::string& value = args[++i];
        if (a == "--hex-type") {
            const auto named = edid_hex_type_named(value);
            if (!named) return usage(err, "unknown hex type '" + value + "' (simple or c)");
            hex_type = *named;
        } else if (a == "--audio") {
            // Every --audio adds a descriptor to the one audio block.
            if (audio.empty()) edits.push_back({nullptr, a, {}});
            audio.push_back(value);
        } else {
            const auto* o = std::find_if(std::begin(edit_options), std::end(edit_options),
                                         [&a](const EditOption& e) { return a == e.name; });
            if (o == std::end(edit_options)) return usage(err, "unknown option " + a);
            edits.push_back({o, a, value});
        }
    }
    if (files.size() != 2) return usage(err, "edit takes an input and an output file");
    const auto format = edid_save_format_of(files[1]);
    if (!format) return usage(err, "the output file must end in .hex or .bin");

    std::optional<EdidModel> model;
    if (int rc = load_model(files[0], model, err)) return rc;
    if (const std::string fault = edid_edit_header_fault(*model); !fault.empty() && !force) {
        err << "t27ctl edid: " << files[0] << ": " << fault
            << "; nothing written (--force edits it anyway)\n";
        return edid_cli_bad_data;
    }
    const std::string before = model->serialize();
    const std::vector<std::string> warned_before = edid_model_warnings(*model);

    for (const PendingEdit& e : edits) {
        EdidEdit r;
        try {
            if (e.option) {
                r = e.option->apply(*model, e.name, e.value);
            } else {
                std::vector<std::string> sads;
                for (const std::string& option : audio) {
                    std::string sad;
                    r = parse_audio_option(option, sad);
                    if (!r.ok()) break;
                    sads.push_back(sad);
                }
                if (r.ok()) r = edit_audio(*model, sads);
            }
        } catch (const BadValue& bad) {
            return usage(err, bad.why);
        }
        if (!r.ok()) {
            err << "t27ctl edid: " << e.name << ": " << r.why << "; nothing written\n";
            return edid_cli_bad_data;
        }
    }

    const std::string after = model->serialize();
    const std::string text = edid_text_format(after, 0, EdidSeparatorRule::after_every_block);
    std::string why;
    if (!edid_file_save(files[1], text, *format, hex_type, &why)) {
        err << "t27ctl edid: " << why << "\n";
        return edid_cli_cannot_write;
    }
    for (const std::string& w : model->warnings()) err << "t27ctl edid: warning: " << w << "\n";
    for (const std::string& w : edid_model_warnings(*model))
        if (std::find(warned_before.begin(), warned_before.end(), w) == warned_before.end())
            err << "t27ctl edid: warning: " << w << "\n";
    for (const std::string& n : model->notes()) out << "also: " << n << "\n";
    std::size_t changed = 0;
    for (std::size_t i = 0; i < std::max(before.size(), after.size()); ++i)
        if (i >= before.size() || i >= after.size() || before[i] != after[i]) ++changed;
    out << "wrote " << files[1] << " (" << after.size() << " bytes, " << changed << " changed)\n";
    return edid_cli_ok;
}

int edid_cli_decode(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> files;
    bool json = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--json") {
            json = true;
        } else if (args[i].rfind("--", 0) == 0) {
            return usage(err, "unknown option " + args[i]);
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 1) return usage(err, "decode takes one file");
    std::optional<EdidModel> model;
    if (int rc = load_model(files[0], model, err)) return rc;
    out << (json ? edid_decode_json(*model) : edid_decode_text(*model));
    return edid_cli_ok;
}

}  // namespace t27
