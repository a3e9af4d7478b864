// A poll reply from the unit, split as the engine splits it, through the
// Monitor tab's reply decoding and the monitor report's lines.
//
// Input: the command-table index of the query that was sent, a byte
// choosing the view (low nibble) and the task mode (high nibble), then the
// reply line.
#include <array>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "analyser/decode_reply.h"
#include "analyser/monitor_layout.h"
#include "analyser/poll_list.h"
#include "analyser/report_lines.h"
#include "fuzz/fuzz_support.h"
#include "protocol/command_table.h"
#include "protocol/engine.h"

namespace {

struct NoPump : t27::Pump {
    std::int64_t now_ms() override { return 0; }
    void process_events() override {}
    void wait_events(std::int64_t) override {}
};

struct NoView : t27::EngineView {
    void show_message(const std::string&, t27::MessageIcon) override {}
    void set_link_label(const std::string&, t27::Colour) override {}
};

// Every control the Monitor tab has; decoding must address no other.
const std::set<std::string>& known_controls() {
    static const std::set<std::string> known = [] {
        std::set<std::string> names;
        for (int view = 0; view < t27::analyser_view_count; ++view)
            for (const std::string& n : t27::view_value_controls(view)) names.insert(n);
        return names;
    }();
    return known;
}

constexpr std::array<int, 4> task_modes = {t27::task_analyser, t27::task_pattern, t27::task_cable,
                                           t27::not_known};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const int index = data[0] % t27::command_table_size;
    const int view = (data[1] & 0x0F) % t27::analyser_view_count;
    const int task_mode = task_modes[(data[1] >> 4) % task_modes.size()];

    t27::LinkState link;
    t27::UnitIdentity unit;
    NoPump pump;
    NoView view_sink;
    t27::Engine engine(link, unit, pump, view_sink);
    link.cmdrx_str.assign(reinterpret_cast<const char*>(data) + 2, size - 2);
    engine.cmdrx_param_get();
    const t27::PollReply reply{link.cmdrx_param1, link.cmdrx_param2, link.cmdrx_param3};

    const std::vector<std::string> patterns = {"Color Bar", "Gray Ramp", "Crosshatch"};
    t27::AnalyserState state;
    t27::build_poll_list(view, task_mode, state);

    t27::DecodeContext context;
    context.view = view;
    context.task_mode = task_mode;
    context.patterns = patterns;
    context.caption = [](const std::string&) { return std::string("None"); };
    const t27::DisplayUpdates updates = t27::decode_reply(index, reply, context, state);
    for (const t27::TextUpdate& u : updates.texts)
        T27_FUZZ_CHECK(known_controls().count(u.control));
    for (const t27::ColourUpdate& u : updates.colours)
        T27_FUZZ_CHECK(known_controls().count(u.control));

    t27::ReportContext report;
    report.task_mode = task_mode;
    report.model_family = t27::family_v4;
    report.linked_model = "T27";
    report.patterns = patterns;
    for (int section = 0; section < t27::analyser_view_count; ++section)
        t27::report_item_lines(section, index, reply, report, state);
    return 0;
}
