// The generator's outputs as the unit answers them: timing and pattern numbers
// checked against the family's own catalogue, HDR presets, the colour format
// rules of a DVI output, and the colour calibration values kept per colour.
// Everything else of the output panel stays a plain stored setting (output
// HDCP with its negotiation is answered with the status items).
#include <array>
#include <cstdio>
#include <optional>
#include <string>

#include "common/executable_path.h"
#include "generator/catalogue.h"
#include "settings/program_dir.h"
#include "protocol/model_table.h"
#include "sim/handler_table.h"
#include "sim/settings_table.h"
#include "sim/unit_model.h"

namespace t27::sim {

namespace {

bool read_whole(const std::string& path, std::string& out) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::array<char, 8192> buf;
    std::size_t n = 0;
    // Catalogues are a few kilobytes; anything far larger is not one.
    while ((n = std::fread(buf.data(), 1, buf.size(), f)) > 0 && out.size() < (1u << 20))
        out.append(buf.data(), n);
    std::fclose(f);
    return true;
}

// The catalogue of the unit as it is identified now; empty lists when the
// file cannot be read, which leaves numbers unchecked.
struct CatalogueView {
    Catalogue catalogue;
    bool found = false;
};

CatalogueView unit_catalogue(const UnitModel& unit, const std::string& dir) {
    const Identity& id = unit.state().identity;
    const std::string file = catalogue_file_for(model_family_of(id.model), id.board_id, id.model);
    CatalogueView v;
    std::string bytes;
    if (dir.empty() || !read_whole(dir + "/" + file, bytes)) return v;
    v.catalogue = catalogue_parse(std::move(bytes)).catalogue;
    v.found = true;
    return v;
}

std::optional<int> number_in(std::string_view text, int lo, int hi) {
    if (text.empty() || text.size() > 6) return std::nullopt;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    if (v < lo || v > hi) return std::nullopt;
    return v;
}

std::string& setting(UnitModel& unit, const std::string& key) {
    auto& s = unit.state().settings;
    auto it = s.find(key);
    if (it != s.end()) return it->second;
    const SettingDef* def = find_setting(key);
    return s[key] = def ? def->initial : "";
}

// ---- timing and pattern ----------------------------------------------------

constexpr int unchecked_limit = 999;

Reply timing_set(UnitModel& unit, const Call& call, const std::string& dir) {
    const CatalogueView v = unit_catalogue(unit, dir);
    const int count = v.found ? v.catalogue.timing_count() : unchecked_limit;
    const std::optional<int> n = number_in(call.args, 1, count);
    if (!n) return make_error(call.word, "param");
    setting(unit, "timing") = std::to_string(*n);
    if (v.found) unit.state().output_timing_text = v.catalogue.timing_name(*n);
    return make_reply(call.word, std::to_string(*n));
}

Reply pattern_set(UnitModel& unit, const Call& call, const std::string& dir) {
    const CatalogueView v = unit_catalogue(unit, dir);
    const int count = v.found ? v.catalogue.pattern_count() : unchecked_limit;
    const std::optional<int> n = number_in(call.args, 1, count);
    if (!n) return make_error(call.word, "param");
    setting(unit, "pattern") = std::to_string(*n);
    return make_reply(call.word, std::to_string(*n));
}

// ---- HDR presets and colour format rules ---------------------------------------

struct HdrPreset {
    const char* set;
    const char* eotf;
    const char* colorimetry;
};
// Preset 1 is plain SDR video, 2 HDR with BT.2020, 3 PQ (SMPTE 2084) with BT.2020.
constexpr HdrPreset hdr_presets[] = {{"1", "sdr", "3"}, {"2", "hdr", "9"}, {"3", "2084", "10"}};

Reply hdr_set(UnitModel& unit, const Call& call) {
    for (const HdrPreset& p : hdr_presets) {
        if (call.args != p.set) continue;
        setting(unit, "hdr_set") = p.set;
        setting(unit, "hdr_eotf") = p.eotf;
        setting(unit, "hdr_tx_col") = p.colorimetry;
        return make_reply(call.word, p.set);
    }
    return make_error(call.word, "param");
}

// DVI carries 8-bit RGB only: choosing DVI brings the format there, and
// choosing anything else of colour space or depth makes the output HDMI again.
Reply format_set(UnitModel& unit, const Call& call, const char* key) {
    const std::optional<std::string> v = accept_value(*find_setting(key), call.args);
    if (!v) return make_error(call.word, "param");
    setting(unit, key) = *v;
    const std::string k = key;
    if (k == "tmds_format" && *v == "dvi") {
        setting(unit, "color_space") = "rgb";
        setting(unit, "deep_color") = "8";
    } else if ((k == "color_space" && *v != "rgb") || (k == "deep_color" && *v != "8")) {
        setting(unit, "tmds_format") = "hdmi";
    }
    return make_reply(call.word, *v);
}

// ---- colour calibration ------------------------------------------------------------

// Each solid colour keeps its own level; the user colour has its components.
std::string level_key(UnitModel& unit) {
    return "color_cal_level_" + setting(unit, "color_cal_color");
}

Reply level_set(UnitModel& unit, const Call& call) {
    if (setting(unit, "color_cal_color") == "user") return make_error(call.word, "mode");
    const std::optional<int> v = number_in(call.args, 0, 255);
    if (!v) return make_error(call.word, "param");
    setting(unit, level_key(unit)) = std::to_string(*v);
    return make_reply(call.word, std::to_string(*v));
}

Reply level_query(UnitModel& unit, const Call& call) {
    if (setting(unit, "color_cal_color") == "user") return make_error(call.word, "mode");
    std::string& v = setting(unit, level_key(unit));
    if (v.empty()) v = find_setting("color_cal_level")->initial;
    return make_reply(call.word, v);
}

}  // namespace

void add_generator_handlers(HandlerTable& table, std::string catalogue_dir) {
    // The simulator finds the catalogues the program ships where the program
    // does: beside the executables in a build, in share/ when installed.
    const std::string dir =
        catalogue_dir.empty() ? shipped_dir_for(executable_dir()) : std::move(catalogue_dir);
    table["$timing"] = [dir](UnitModel& u, const Call& c) { return timing_set(u, c, dir); };
    table["$pattern"] = [dir](UnitModel& u, const Call& c) { return pattern_set(u, c, dir); };
    table["$hdr_set"] = hdr_set;
    for (const char* key : {"tmds_format", "color_space", "deep_color"}) {
        table[std::string("$") + key] = [key](UnitModel& u, const Call& c) {
            return format_set(u, c, key);
        };
    }
    table["$color_cal_level"] = level_set;
    table["$color_cal_level?"] = level_query;
}

}  // namespace t27::sim
