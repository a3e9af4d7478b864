// `t27ctl sweep`: every chosen timing, with every chosen pattern on it, in
// turn, each held for a while so a camera or an eye can judge the display.
#include <iostream>
#include <optional>

#include "app/t27ctl/generator.h"
#include "app/t27ctl/gen_session.h"
#include "app/t27ctl/interrupt.h"
#include "common/json_out.h"
#include "common/local_time.h"
#include "generator/output_requests.h"
#include "generator/output_select.h"
#include "protocol/request_text.h"

namespace t27 {

namespace {

// The dwell is waited in slices so Ctrl-C ends it soon.
constexpr std::int64_t dwell_slice_ms = 100;
// Two steps in a row without a reply: the unit is gone, not just slow.
constexpr int silent_steps_limit = 2;

// "all", or items "N" and "N-M" separated by commas, each within 1..count.
std::optional<std::vector<int>> parse_numbers(const std::string& text, int count,
                                              std::string& why) {
    std::vector<int> out;
    if (text == "all") {
        for (int n = 1; n <= count; ++n) out.push_back(n);
        return out;
    }
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t comma = std::min(text.find(',', pos), text.size());
        const std::string item = text.substr(pos, comma - pos);
        const std::size_t dash = item.find('-');
        const std::optional<int> from = whole_number(item.substr(0, dash));
        const std::optional<int> to =
            dash == std::string::npos ? from : whole_number(item.substr(dash + 1));
        if (!from || !to || *from > *to) {
            why = "'" + item + "' is not a number or a range N-M";
            return std::nullopt;
        }
        if (*from < 1 || *to > count) {
            why =
                "'" + item + "' is outside the unit's catalogue (1-" + std::to_string(count) + ")";
            return std::nullopt;
        }
        for (int n = *from; n <= *to; ++n) out.push_back(n);
        pos = comma + 1;
    }
    return out;
}

const char* result_word(ReplyStatus st) {
    switch (st) {
        case ReplyStatus::Accepted:
            return "accepted";
        case ReplyStatus::ErrorReply:
            return "refused";
        case ReplyStatus::NoResponse:
        case ReplyStatus::NotSent:
            break;
    }
    return "no response";
}

struct Step {
    int timing;
    int pattern;  // 0 = none
};

void print_step(GenSession& s, const CtlArgs& o, std::size_t number, std::size_t total,
                const Step& step, ReplyStatus st) {
    const Catalogue& c = s.catalogue();
    // To the second: a step lasts seconds.
    const std::string time = local_time_text(wall_clock_ms()).substr(0, 19);
    const std::string detail = st == ReplyStatus::ErrorReply ? reply_line(s.cli().link()) : "";
    if (o.json) {
        json::Object j;
        j.add("time", time)
            .add("step", static_cast<std::int64_t>(number))
            .add("steps", static_cast<std::int64_t>(total))
            .add("timing", step.timing)
            .add("timing_name", c.timing_name(step.timing));
        if (step.pattern)
            j.add("pattern", step.pattern).add("pattern_name", c.pattern_name(step.pattern));
        else
            j.add_null("pattern").add_null("pattern_name");
        j.add("result", result_word(st));
        if (!detail.empty()) j.add("reply", detail);
        std::cout << j.str() << "\n";
    } else {
        std::cout << time << "  timing " << step.timing << " \"" << c.timing_name(step.timing)
                  << "\"  ";
        if (step.pattern)
            std::cout << "pattern " << step.pattern << " \"" << c.pattern_name(step.pattern)
                      << "\"";
        else
            std::cout << "pattern -";
        std::cout << "  " << result_word(st);
        if (!detail.empty()) std::cout << " (" << terminal_text(detail) << ")";
        std::cout << "\n";
    }
    std::cout.flush();
}

// Outputs the step's timing and, once the unit took it, its pattern.
ReplyStatus run_step(Engine& engine, const Step& step) {
    timing_request(engine, step.timing);
    const ReplyStatus st = engine.link().cmdrx_status;
    if (st != ReplyStatus::Accepted || !step.pattern) return st;
    pattern_request(engine, step.pattern);
    return engine.link().cmdrx_status;
}

void dwell(Pump& pump, double seconds) {
    const std::int64_t end = pump.now_ms() + static_cast<std::int64_t>(seconds * 1000);
    for (std::int64_t now = pump.now_ms(); now < end && !interrupt_requested(); now = pump.now_ms())
        pump.wait_events(std::min(dwell_slice_ms, end - now));
}

}  // namespace

int t27ctl_sweep(const LinkOptions& options, const CtlArgs& o) {

    GenSession s(options);
    if (auto e = s.start_generator(o.json)) return *e;
    std::string why;
    const std::optional<std::vector<int>> timings =
        parse_numbers(o.timings, s.catalogue().timing_count(), why);
    if (!timings) return gen_usage("--timings: " + why);
    std::vector<int> patterns = {0};
    if (!o.patterns.empty()) {
        const std::optional<std::vector<int>> p =
            parse_numbers(o.patterns, s.catalogue().pattern_count(), why);
        if (!p) return gen_usage("--patterns: " + why);
        patterns = *p;
    }

    std::vector<Step> steps;
    bool left_out = false;
    for (int t : *timings) {
        // The tab does not output this one outside the analyser task.
        if (!timing_output_allowed(t, s.unit().task_mode)) {
            std::cerr << "t27ctl: timing " << t << " (" << s.catalogue().timing_name(t)
                      << ") is output only in the analyser task; left out\n";
            left_out = true;
            continue;
        }
        for (int p : patterns) steps.push_back({t, p});
    }
    // Refused as `timing set` refuses it, when it was all there was to do.
    if (steps.empty()) return left_out ? gen_exit_refused : gen_usage("nothing to sweep");

    catch_interrupts();
    // A timing left out was refused, as `timing set` refuses it; the others run.
    bool refused = left_out;
    bool silent = false;
    int silent_run = 0;
    std::size_t done = 0;
    for (const Step& step : steps) {
        if (interrupt_requested()) break;
        const ReplyStatus st = run_step(s.engine(), step);
        print_step(s, o, ++done, steps.size(), step, st);
        if (st == ReplyStatus::Accepted) {
            silent_run = 0;
            dwell(s.engine().pump(), o.dwell_s);
            continue;
        }
        refused = refused || st == ReplyStatus::ErrorReply;
        if (st == ReplyStatus::ErrorReply) {
            silent_run = 0;
            continue;
        }
        silent = true;
        if (st == ReplyStatus::NotSent || !s.cli().open_now() ||
            ++silent_run >= silent_steps_limit) {
            std::cerr << "t27ctl: lost the link to the unit; the sweep ends after step " << done
                      << " of " << steps.size() << "\n";
            return gen_exit_lost;
        }
    }
    if (done < steps.size())
        std::cerr << "t27ctl: stopped after step " << done << " of " << steps.size() << "\n";
    // A script must tell a stopped sweep from a complete one.
    if (const int stopped = interrupt_exit_code()) return stopped;
    if (silent) return gen_exit_lost;
    return refused ? gen_exit_refused : gen_exit_ok;
}

}  // namespace t27
