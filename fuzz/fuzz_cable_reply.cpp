// A poll cycle of the Cable Test tab: replies from the unit, split as the
// engine splits them, applied one after another to the tab's state; and the
// colour calibration window's reading of reported and typed values.
//
// Input: replies separated by NUL bytes, each a byte choosing the entry of
// the cable poll list that was sent, a flags byte (1: the time list has the
// focus), then the reply line.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cable/cable_commands.h"
#include "cable/cable_reply.h"
#include "cable/cable_times.h"
#include "fuzz/fuzz_support.h"
#include "generator/calibration.h"
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

void check_calibration(const std::string& p) {
    if (const auto v = t27::calibrate_reply_value(p))
        T27_FUZZ_CHECK(*v >= 0 && *v <= t27::calibrate_max_value);
    const int entry = t27::calibrate_colour_entry(p);
    T27_FUZZ_CHECK(entry >= -1 && entry < static_cast<int>(t27::calibrate_colours.size()));
    const t27::CalibrateEntry typed = t27::calibrate_typed_value(p);
    if (typed.valid) {
        T27_FUZZ_CHECK(typed.value >= 0 && typed.value <= t27::calibrate_max_value);
        T27_FUZZ_CHECK(!typed.text.empty());
        T27_FUZZ_CHECK(typed.text.find_first_not_of("0123456789") == std::string::npos);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::vector<int>& polled = t27::cable_poll_list();
    if (polled.empty()) return 0;

    t27::LinkState link;
    t27::UnitIdentity unit;
    NoPump pump;
    NoView view_sink;
    t27::Engine engine(link, unit, pump, view_sink);

    const t27::CableGeometry geometry{6000, 450};
    t27::CableView view;
    for (const std::string& piece : t27::fuzz::split(input, '\0')) {
        if (piece.size() < 2) continue;
        const int index = polled[static_cast<unsigned char>(piece[0]) % polled.size()];
        view.cable_time_focus = piece[1] & 1;
        link.cmdrx_str = piece.substr(2);
        engine.cmdrx_param_get();

        t27::cable_reply_show(view, index, link.cmdrx_param1, geometry);
        T27_FUZZ_CHECK(view.pbar_value >= 0 && view.pbar_value <= t27::cable_pbar_full);
        T27_FUZZ_CHECK(view.arrow_left >= 0 &&
                       view.arrow_left <= geometry.frame_width - geometry.arrow_width);
        T27_FUZZ_CHECK(view.time_entry >= -1 && view.time_entry < t27::cable_time_count);
        // START and STOP are never usable together.
        T27_FUZZ_CHECK(view.start_enabled != view.stop_enabled);

        check_calibration(link.cmdrx_param1);
    }
    return 0;
}
