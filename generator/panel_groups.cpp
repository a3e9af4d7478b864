#include "generator/panel_groups.h"

#include <array>
#include <string>

#include "generator/generator_colours.h"
#include "generator/panel_buttons.h"
#include "protocol/command_table.h"
#include "protocol/unit_identity.h"

namespace t27 {

namespace {

// Whether a group's values (and one of its resets) count at all: the version
// groups mean nothing while their switch is off.
enum class Gate { always, hdcp_in_on, hdcp_out_active };

constexpr int keep = -1;

struct GroupRule {
    const char* value;
    int lit = keep;  // button painted, or none
    Colour colour = gen_colour::lit;
    int need_out_state = keep;  // the rule holds only in this output HDCP state
    int set_hdcp_in = keep;     // 1 on, 0 off
    int set_out_state = keep;
    std::span<const int> enable{};  // buttons enabled by this value
    std::span<const int> disable{};
};

struct Group {
    int query;  // CommandTable index
    std::span<const int> reset;
    std::span<const GroupRule> rules;
    Gate gate = Gate::always;
    int gated_reset = keep;  // reset only while the gate is open
};

// clang-format off
constexpr int audio_all[] = {15, 16, 17, 58, 59, 60};
constexpr int audio_channels[] = {15, 16, 17};
constexpr int audio_rates[] = {58, 59, 60};

constexpr int r0[] = {2, 3, 4};
constexpr GroupRule g0[] = {{"on", keep, gen_colour::lit, keep, 1}, {"off", 2, gen_colour::lit, keep, 0}};
constexpr int r1[] = {3, 4};
constexpr GroupRule g1[] = {{"v1.4", 3}, {"v1.4+v2.2", 4}};
constexpr int r2[] = {8, 9};
constexpr GroupRule g2[] = {{"on", 9}, {"off", 8}};
constexpr int r3[] = {56, 57};
constexpr GroupRule g3[] = {{"on", 57}, {"toggle", 57}, {"off", 56}};
constexpr int r4[] = {10, 11};
constexpr GroupRule g4[] = {{"on", 11}, {"off", 10}};
constexpr int r5[] = {6, 7};
constexpr GroupRule g5[] = {{"on", 7}, {"off", 6}};
constexpr int r6[] = {12, 13, 14};
constexpr GroupRule g6[] = {
    {"int", 12, gen_colour::lit, keep, keep, keep, audio_all, {}},
    {"hdmi", 13, gen_colour::lit, keep, keep, keep, {}, audio_all},
    {"ana", 14, gen_colour::lit, keep, keep, keep, audio_rates, audio_channels},
};
constexpr int r7[] = {15, 16, 17};
constexpr GroupRule g7[] = {{"2", 15}, {"6", 16}, {"8", 17}};
constexpr int r8[] = {18, 19};
constexpr GroupRule g8[] = {{"on", 19}, {"off", 18}};
constexpr int r9[] = {58, 59, 60};
constexpr GroupRule g9[] = {{"48", 58}, {"96", 59}, {"192", 60}};
constexpr int r10[] = {20, 21};
constexpr GroupRule g10[] = {{"on", 21}, {"off", 20}};
constexpr int r11[] = {22, 23, 24};
constexpr GroupRule g11[] = {{"1", 22}, {"2", 23}, {"3", 24}};
constexpr int r12[] = {25, 26, 27};
constexpr GroupRule g12[] = {{"sdr", 25}, {"hdr", 26}, {"2084", 27}};
constexpr int r13[] = {28, 29, 30, 31, 32, 33, 34, 35, 36, 37};
constexpr GroupRule g13[] = {{"1", 28}, {"2", 29}, {"3", 30}, {"4", 31}, {"5", 32},
                             {"6", 33}, {"7", 34}, {"8", 35}, {"9", 36}, {"10", 37}};
constexpr int r14[] = {38, 39, 40};
constexpr GroupRule g14[] = {
    {"off", 38, gen_colour::lit, keep, keep, 0},
    {"v1.4_on", keep, gen_colour::lit, keep, keep, 1},
    {"v1.4_talk", keep, gen_colour::lit, keep, keep, 2},
    {"v2.2_on", keep, gen_colour::lit, keep, keep, 3},
    {"v2.2_talk", keep, gen_colour::lit, keep, keep, 4},
};
constexpr int r15[] = {39, 40};
constexpr GroupRule g15[] = {
    {"v1.4", 39, gen_colour::lit, 1},
    {"v1.4", 39, gen_colour::panel_talk, 2},
    {"v2.2", 40, gen_colour::lit, 3},
    {"v2.2", 40, gen_colour::panel_talk, 4},
};
constexpr int r16[] = {41, 42, 43, 44};
constexpr GroupRule g16[] = {{"rgb", 41}, {"y444", 42}, {"y422", 43}, {"y420", 44}};
constexpr int r17[] = {45, 46, 47};
constexpr GroupRule g17[] = {{"8", 45}, {"10", 46}, {"12", 47}};
constexpr int r18[] = {48, 49};
constexpr GroupRule g18[] = {{"follow", 48}, {"on", 49}};
constexpr int r19[] = {52, 53};
constexpr GroupRule g19[] = {{"on", 53}, {"off", 52}};
constexpr int r20[] = {54, 55};
constexpr GroupRule g20[] = {{"hdmi", 54}, {"dvi", 55}};

constexpr Group groups[panel_group_count] = {
    {51, r0, g0},
    {53, r1, g1, Gate::hdcp_in_on, 2},
    {151, r2, g2},
    {153, r3, g3},
    {157, r4, g4},
    {155, r5, g5},
    {7, r6, g6},
    {3, r7, g7},
    {5, r8, g8},
    {9, r9, g9},
    {65, r10, g10},
    {63, r11, g11},
    {61, r12, g12},
    {67, r13, g13},
    {55, r14, g14},
    {57, r15, g15, Gate::hdcp_out_active, 38},
    {26, r16, g16},
    {28, r17, g17},
    {172, r18, g18},
    {170, r19, g19},
    {168, r20, g20},
};

constexpr int reread_hdr[] = {12, 13};
constexpr int reread_format[] = {16, 17, 20};

// Visibility by task mode and family, applied in order (later ranges win).
struct VisibleRange {
    int from, to;
    bool visible;
};
constexpr VisibleRange analyser_common[] = {
    {2, 11, true}, {56, 57, true}, {12, 17, false}, {20, 40, false}, {48, 49, false}, {58, 60, false},
};
constexpr VisibleRange analyser_v4l[] = {{41, 47, false}, {54, 55, false}};
constexpr VisibleRange analyser_other[] = {{41, 47, true}, {54, 55, true}};
constexpr VisibleRange generator_common[] = {
    {2, 11, false}, {56, 57, false}, {15, 17, true}, {20, 40, true}, {48, 49, true}, {58, 60, true},
};
constexpr VisibleRange generator_v4l[] = {
    {12, 14, false}, {22, 24, false}, {43, 47, false}, {41, 42, true}, {54, 55, true},
};
constexpr VisibleRange generator_other[] = {
    {12, 14, true}, {22, 24, true}, {41, 47, true}, {54, 55, true},
};
// clang-format on

bool gate_open(Gate gate, const PanelFlags& flags) {
    switch (gate) {
        case Gate::hdcp_in_on:
            return flags.hdcp_in_on;
        case Gate::hdcp_out_active:
            return flags.hdcp_out_state != 0;
        case Gate::always:
            break;
    }
    return true;
}

}  // namespace

const std::string& panel_group_query(int group) {
    static const std::string none;
    if (group < 0 || group >= panel_group_count) return none;
    return command_text(groups[group].query);
}

PanelUpdate panel_show_group(int group, std::string_view param1, PanelFlags& flags) {
    PanelUpdate u;
    if (group < 0 || group >= panel_group_count) return u;
    const Group& g = groups[group];
    const bool open = gate_open(g.gate, flags);
    for (int b : g.reset) u.paints.push_back({b, gen_colour::panel_idle});
    if (open && g.gated_reset != keep) u.paints.push_back({g.gated_reset, gen_colour::panel_idle});
    if (!open) return u;
    for (const GroupRule& r : g.rules) {
        if (param1 != r.value) continue;
        if (r.need_out_state != keep && r.need_out_state != flags.hdcp_out_state) continue;
        if (r.set_hdcp_in != keep) flags.hdcp_in_on = r.set_hdcp_in == 1;
        if (r.set_out_state != keep) flags.hdcp_out_state = r.set_out_state;
        if (r.lit != keep) u.paints.push_back({r.lit, r.colour});
        for (int b : r.enable) u.enables.push_back({b, true});
        for (int b : r.disable) u.enables.push_back({b, false});
        break;
    }
    return u;
}

void panel_pre_step_flags(int index, PanelFlags& flags) {
    switch (panel_button(index).pre_command) {
        case 50:
            flags.hdcp_in_on = true;
            return;
        case 54:
            flags.hdcp_out_state = index == 39 ? 1 : 3;
            return;
        default:
            return;
    }
}

std::span<const int> panel_reread_groups(int index) {
    switch (panel_button(index).reread) {
        case PanelReread::hdr:
            return reread_hdr;
        case PanelReread::format:
            return reread_format;
        case PanelReread::none:
            break;
    }
    return {};
}


std::vector<int> panel_enabling_groups(int index) {
    std::vector<int> out;
    for (int g = 0; g < panel_group_count; ++g) {
        bool moves = false;
        for (const GroupRule& r : groups[g].rules)
            for (std::span<const int> list : {r.enable, r.disable})
                for (int b : list) moves = moves || b == index;
        if (moves) out.push_back(g);
    }
    return out;
}

bool panel_read_continues(ReplyStatus status) {
    return status == ReplyStatus::Accepted || status == ReplyStatus::ErrorReply;
}

std::vector<ButtonVisible> panel_visibility(int task_mode, int model_family) {
    std::array<int, panel_button_count> state;
    state.fill(-1);
    auto apply = [&](std::span<const VisibleRange> ranges) {
        for (const VisibleRange& r : ranges)
            for (int i = r.from; i <= r.to; ++i) state[static_cast<std::size_t>(i)] = r.visible;
    };
    const bool v4l = model_family == family_v4l;
    if (task_mode == task_analyser) {
        apply(analyser_common);
        apply(v4l ? std::span<const VisibleRange>(analyser_v4l) : analyser_other);
    } else {
        apply(generator_common);
        apply(v4l ? std::span<const VisibleRange>(generator_v4l) : generator_other);
    }
    std::vector<ButtonVisible> out;
    for (int i = 0; i < panel_button_count; ++i)
        if (state[static_cast<std::size_t>(i)] >= 0)
            out.push_back({i, state[static_cast<std::size_t>(i)] == 1});
    return out;
}

}  // namespace t27
