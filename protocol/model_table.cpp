#include "protocol/model_table.h"

#include <string_view>

#include "protocol/unit_identity.h"

namespace t27 {

namespace {

struct ModelEntry {
    std::string_view model;
    int family;
};

constexpr ModelEntry models[] = {
    {"RQTA-V4", family_v4},        {"Vezarev Ove.", family_v4}, {"DE-4", family_v4},
    {"T27", family_v4},            {"DN-K7-RMB", family_v4},    {"Vuririd Uva.Z", family_v4l},
    {"RQTA-V4L", family_v4l},      {"RO-3Z", family_v4l},       {"T28", family_v4l},
    {"RQTA-V5", family_v5},
};

}  // namespace

int model_family_of(const std::string& model) {
    for (const ModelEntry& m : models)
        if (m.model == model) return m.family;
    return not_known;
}

std::string catalogue_file_for(int model_family, int board_id, const std::string& linked_model) {
    switch (model_family) {
        case family_v4l:
            if (board_id == 1) return "v4l_t_new_timing_pattern.ini";
            return linked_model == "T28" ? "v4l_t_old_timing_pattern.ini"
                                         : "v4l_timing_pattern.ini";
        case family_v5: return "v5_timing_pattern.ini";
        default: return "v4_timing_pattern.ini";
    }
}

std::string favourites_file_for(const std::string& catalogue_file) {
    std::string base = catalogue_file;
    if (base.size() >= 4) base.resize(base.size() - 4);
    return base + "_fav.ini";
}

}  // namespace t27
