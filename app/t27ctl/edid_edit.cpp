#include "app/t27ctl/edid_edit.h"

#include <algorithm>
#include <optional>

#include "app/t27ctl/edid_commands.h"
#include "edid/edid_files.h"
#include "edid/edid_writers.h"
#include "edid/edit/edit_decode.h"
#include "edid/edit/edit_ops.h"
#include "edid/hex_text.h"

namespace t27 {

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
    const char* value;
    const char* help;
    Apply apply;
};

const EditOption edit_options[] = {
    {"--name", "TEXT", "the monitor name",
     [](EdidModel& m, const std::string&,
                  const std::string& v) { return edit_monitor_name(m, v); }},
    {"--manufacturer", "ABC", "the manufacturer ID, three letters",
     [](EdidModel& m, const std::string&,
                          const std::string& v) { return edit_manufacturer(m, v); }},
    {"--product", "N", "the product code",
     [](EdidModel& m, const std::string& o, const std::string& v) {
         return vendor_field(m, "product_code", need_number(o, v));
     }},
    {"--serial", "N", "the serial number",
     [](EdidModel& m, const std::string& o, const std::string& v) {
         return vendor_field(m, "serial_number", need_number(o, v));
     }},
    {"--week", "N", "the week of manufacture (0, 1-54, 255)",
     [](EdidModel& m, const std::string& o, const std::string& v) {
         const long long week = need_number(o, v);
         if (week > 54 && week != 255)
             return EdidEdit{
                 "the week is 0 (none), 1 to 54, or 255 (the year is a model year), not " + v};
         return vendor_field(m, "week", week);
     }},
    {"--year", "N", "the year of manufacture",
     [](EdidModel& m, const std::string& o,
                  const std::string& v) { return vendor_field(m, "year", need_number(o, v)); }},
    {"--add-vic", "N[,N...]", "add VICs to the video data block",
     [](EdidModel& m, const std::string& o,
                     const std::string& v) { return edit_add_vics(m, need_list(o, v)); }},
    {"--remove-vic", "N[,N...]", "remove VICs",
     [](EdidModel& m, const std::string& o,
                        const std::string& v) { return edit_remove_vics(m, need_list(o, v)); }},
    {"--native-vic", "N", "mark a VIC native",
     [](EdidModel& m, const std::string& o, const std::string& v) {
         return edit_native_vic(m, static_cast<int>(std::min(need_number(o, v), 1000LL)));
     }},
    {"--max-tmds-mhz", "N", "the HDMI VSDB max TMDS clock",
     [](EdidModel& m, const std::string& o, const std::string& v) {
         return edit_max_tmds_mhz(m, static_cast<int>(std::min(need_number(o, v), 100000LL)));
     }},
    {"--max-tmds-rate-mhz", "N", "the HDMI Forum VSDB max TMDS rate",
     [](EdidModel& m, const std::string& o, const std::string& v) {
         return edit_max_tmds_rate_mhz(m, static_cast<int>(std::min(need_number(o, v), 100000LL)));
     }},
    {"--hdr", "static|none", "add or remove the HDR static metadata block",
     [](EdidModel& m, const std::string& o, const std::string& v) {
         if (v != "static" && v != "none")
             throw BadValue{o + " takes static or none, not \"" + v + "\""};
         return edit_hdr_static(m, v == "static");
     }},
    {"--remove-block", "TAG", "remove the data blocks of a kind",
     [](EdidModel& m, const std::string&,
                          const std::string& v) { return edit_remove_data_blocks(m, v); }},
};

int usage(std::ostream& err, const std::string& why) {
    return ctl_usage_error(err, "edid edit", why);
}

struct PendingEdit {
    const EditOption* option;
    std::string name;
    std::string value;
};

}  // namespace

int edid_edit_run(const CtlArgs& args, std::ostream& out, std::ostream& err) {
    const std::vector<std::string>& files = args.words;
    std::vector<PendingEdit> edits;
    std::vector<std::string> audio;
    const EdidHexType hex_type = *edid_hex_type_named(args.hex_type);
    for (const auto& [name, value] : args.edits) {
        if (name == "--audio") {
            // Every --audio adds a descriptor to the one audio block.
            if (audio.empty()) edits.push_back({nullptr, name, {}});
            audio.push_back(value);
            continue;
        }
        const auto* o = std::find_if(std::begin(edit_options), std::end(edit_options),
                                     [&name](const EditOption& e) { return name == e.name; });
        if (o == std::end(edit_options)) return usage(err, "unknown option " + name);
        edits.push_back({o, name, value});
    }
    const auto format = edid_save_format_of(files[1]);
    if (!format) return usage(err, "the output file must end in .hex or .bin");

    std::optional<EdidModel> model;
    if (int rc = edid_cli_load_model(files[0], model, err)) return rc;
    if (const std::string fault = edid_edit_header_fault(*model); !fault.empty() && !args.force) {
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

std::vector<EdidEditOptionHelp> edid_edit_option_help() {
    std::vector<EdidEditOptionHelp> out;
    for (const EditOption& o : edit_options) out.push_back({o.name, o.value, o.help});
    out.push_back({"--audio", "FORMAT:CHANNELS:RATES[:SIZES]",
                   "a short audio descriptor (repeatable: one audio block of them)"});
    return out;
}

}  // namespace t27
