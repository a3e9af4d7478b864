// `t27ctl task [MODE]`: the unit's task mode, read or switched as the task
// buttons switch it.
#include <iostream>

#include "app/t27ctl/gen_session.h"
#include "app/t27ctl/generator.h"
#include "generator/output_select.h"

namespace t27 {

int t27ctl_task(const LinkOptions& o, const CtlArgs& a) {
    const std::vector<std::string>& args = a.words;
    const bool change = !args.empty();
    GenSession s(o);
    if (auto e = s.start(false)) return *e;
    if (change) {
        if (args[0] == task_mode_text(task_cable) && !cable_task_offered(s.unit().model_family)) {
            std::cerr << "t27ctl: this unit has no cable test to switch to\n";
            return gen_exit_refused;
        }
        task_mode_set(s.engine(), args[0]);
        if (const int e = s.outcome("task " + args[0])) return e;
    }
    const int mode = s.unit().task_mode;
    if (mode == not_known) {
        std::cerr << "t27ctl: the unit did not tell its task mode\n";
        return gen_exit_lost;
    }
    std::cout << "task: " << task_mode_text(mode) << "\n";
    if (change && mode != task_mode_from_text(args[0])) {
        std::cerr << "t27ctl: the unit stayed in the " << task_mode_text(mode) << " task\n";
        return gen_exit_refused;
    }
    return gen_exit_ok;
}

}  // namespace t27
