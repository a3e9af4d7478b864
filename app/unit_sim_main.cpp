// t27-unit-sim: the software stand-in for the unit, for demos and tests.
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "common/console.h"
#include "common/local_time.h"
#include "common/version.h"
#include "sim/control.h"
#include "sim/scenarios.h"
#include "sim/sim_options.h"
#include "sim/sim_server.h"
#include "sim/socket_io.h"
#include "sim/unit_model.h"

namespace {

volatile std::sig_atomic_t stop_requested = 0;

void install_signals() {
    // poll() has to return so the loop sees the request: no SA_RESTART.
    t27::on_interrupt_set(&stop_requested);
#if !defined(_WIN32)
    std::signal(SIGPIPE, SIG_IGN);
#endif
}

// Start-up settings go through the same control language as run-time ones,
// so both accept exactly the same forms.
bool apply_setting(t27::sim::UnitModel& model, const std::string& line) {
    std::string answer = t27::sim::run_control(model, line);
    if (answer == "ok") return true;
    std::cerr << "t27-unit-sim: " << line << ": " << answer << "\n";
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    t27::sim::SimOptions opt;
    std::string error =
        t27::sim::parse_options(std::vector<std::string>(argv + 1, argv + argc), opt);
    if (!error.empty()) {
        std::cerr << "t27-unit-sim: " << error << "\n";
        return 2;
    }
    if (opt.help) {
        std::cout << t27::sim::usage_text();
        return 0;
    }
    if (opt.list_scenarios) {
        for (const t27::sim::Scenario& s : t27::sim::scenarios())
            std::cout << s.name << "\t" << s.description << "\n";
        return 0;
    }
    if (opt.version) {
        std::cout << t27::version_line("t27-unit-sim");
        return 0;
    }
    t27::sim::UnitModel model;
    // A glitch is logged even when quiet: it is what a dropout hunt is
    // measured against. The unit's clock is steady; the line carries the
    // wall-clock time it stands for.
    model.set_glitch_log([&model](std::int64_t at_ms, const std::string& line) {
        const std::int64_t wall = t27::wall_clock_ms() - (model.now_ms() - at_ms);
        std::cerr << t27::local_time_text(wall) << " " << line << std::endl;
    });
    bool ok = true;
    if (!opt.model.empty()) ok &= apply_setting(model, "set model " + opt.model);
    if (opt.board >= 0) ok &= apply_setting(model, "set board " + std::to_string(opt.board));
    if (!opt.fw.empty()) ok &= apply_setting(model, "set fw " + opt.fw);
    if (!opt.task.empty()) ok &= apply_setting(model, "set task " + opt.task);
    if (!opt.sink.empty()) ok &= apply_setting(model, "set sink " + opt.sink);
    if (!opt.scenario.empty()) ok &= apply_setting(model, "scenario " + opt.scenario);
    if (!opt.time_scale.empty()) ok &= apply_setting(model, "set time-scale " + opt.time_scale);
    if (!opt.cable.empty()) ok &= apply_setting(model, "set cable " + opt.cable);
    for (const std::string& f : opt.faults) ok &= apply_setting(model, f);
    if (!ok) return 2;

    install_signals();
    if (!t27::sim::sockets_start(error)) {
        std::cerr << "t27-unit-sim: " << error << "\n";
        return 1;
    }
    t27::sim::SimServer server(model, opt, std::cout, std::cerr);
    if (!server.open(error)) {
        std::cerr << "t27-unit-sim: " << error << "\n";
        return 1;
    }
    server.run(&stop_requested);
    if (!opt.quiet) std::cerr << "t27-unit-sim: stopped\n";
    return 0;
}
