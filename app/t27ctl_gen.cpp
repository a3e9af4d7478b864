#include "app/t27ctl_gen.h"

#include <iomanip>
#include <iostream>
#include <optional>

#include "app/t27ctl_gen_session.h"
#include "common/json_out.h"
#include "generator/downscale.h"
#include "generator/name_match.h"
#include "generator/output_requests.h"
#include "generator/output_select.h"

namespace t27 {

const char* const t27ctl_generator_usage =
    "\n"
    "The pattern generator (LINK is --tcp ... or --serial ..., as for send):\n"
    "       t27ctl LINK task [analyser|pattern|cable]\n"
    "       t27ctl LINK timing list [--json] | timing set N|NAME\n"
    "       t27ctl LINK pattern list [--json] | pattern set N|NAME [--motion-text TEXT]\n"
    "       t27ctl LINK panel list [--json] | panel set ROW CHOICE [--yes]\n"
    "       t27ctl LINK sweep [--timings all|N-M|N,...] [--patterns N,...] [--dwell SECONDS]\n"
    "                         [--json]\n"
    "\n"
    "task     prints the unit's task mode; with a mode, switches to it and prints the new one.\n"
    "timing   list: the linked unit's timings, '*' before the one output now (--json: one\n"
    "pattern  document, with \"link\" and \"error\" as send --json); set: outputs an entry\n"
    "         by its number or name (the exact name, else\n"
    "         a unique case-insensitive part of one). Timing 88 only in the analyser task;\n"
    "         --motion-text only for the patterns that scroll a text.\n"
    "panel    list: each Control Panel row of the unit's task, its choices and the one the\n"
    "         unit reports; set: presses the choice of a row, both by caption, ignoring case\n"
    "         (\"Factory Reset\" of row \"System\" needs --yes).\n"
    "sweep    outputs each timing (default all), with each pattern on it, and holds it for\n"
    "         the dwell time (default 5 s); one line per step: time, timing, pattern, result\n"
    "         (--json: one object a line). Ctrl-C stops after the current step.\n"
    "exit     0 done, 1 link not opened, 2 no response or link lost, 3 refused (by the unit\n"
    "         or by the rule a tab applies), 64 usage error.\n";

namespace {

// One of the two catalogue lists, as the commands name it.
struct ListKind {
    const char* word;  // "timing" or "pattern"
    const std::vector<std::string>& names;
};

ListKind timings_of(const GenSession& s) { return {"timing", s.catalogue().timings}; }
ListKind patterns_of(const GenSession& s) { return {"pattern", s.catalogue().patterns}; }

void list_candidates(const ListKind& k, const std::vector<int>& positions) {
    for (int p : positions)
        std::cerr << "  " << p + 1 << "  " << k.names[static_cast<std::size_t>(p)] << "\n";
}

// The entry number `arg` names, or nothing with the candidates told.
std::optional<int> resolve_entry(const ListKind& k, const std::string& arg) {
    const int count = static_cast<int>(k.names.size());
    if (const std::optional<int> n = whole_number(arg)) {
        if (*n >= 1 && *n <= count) return n;
        std::cerr << "t27ctl: " << k.word << " " << arg << " is not in the unit's catalogue (1-"
                  << count << ")\n";
        return std::nullopt;
    }
    const NameMatch m = match_name(k.names, arg);
    if (m.index >= 0) return m.index + 1;
    if (m.matches.empty()) {
        std::cerr << "t27ctl: no " << k.word << " is named \"" << arg << "\"; the " << k.word
                  << "s are:\n";
        std::vector<int> all(k.names.size());
        for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
        list_candidates(k, all);
    } else {
        std::cerr << "t27ctl: \"" << arg << "\" names more than one " << k.word << ":\n";
        list_candidates(k, m.matches);
    }
    return std::nullopt;
}

bool pattern_variant(GenSession& s) {
    return colour_variant(s.unit().linked_model, s.unit().model_family);
}

bool takes_motion_text(GenSession& s, int n) {
    return pattern_extras_show(n, n, pattern_variant(s)).motion_visible;
}

// ---- task ----------------------------------------------------------------------------

int task(const LinkOptions& o, const std::vector<std::string>& args) {
    if (args.size() > 1) return gen_usage("task takes at most one mode");
    const bool change = !args.empty();
    if (change && task_mode_from_text(args[0]) == not_known)
        return gen_usage("the task is analyser, pattern or cable");
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

// ---- list ----------------------------------------------------------------------------

struct ListReading {
    std::optional<int> now;                // entry output now
    std::optional<std::string> motion;     // the scrolling text, when read
    std::optional<std::string> downscale;  // caption, when down-scaling serves the tab
    ReplyStatus status = ReplyStatus::Accepted;
};

// What the tab reads when it is shown.
ListReading read_now(GenSession& s, bool timing) {
    ListReading r;
    Engine& e = s.engine();
    const UnitIdentity& u = s.unit();
    if (timing && downscale_serves_tab(u.model_family, u.task_mode)) {
        const std::optional<int> option = downscale_read_option(e);
        r.status = e.link().cmdrx_status;
        if (option && *option >= 0)
            r.downscale = downscale_options[static_cast<std::size_t>(*option)].caption;
        return r;
    }
    r.now = timing ? timing_read(e, s.catalogue().timing_count())
                   : pattern_read(e, s.catalogue().pattern_count());
    r.status = e.link().cmdrx_status;
    if (timing || !r.now) return r;
    if (pattern_readback_extras(*r.now, pattern_variant(s)).query_motion_text) {
        r.motion = motion_text_read(e);
        r.status = e.link().cmdrx_status;
    }
    return r;
}

int list(const LinkOptions& o, bool timing, const std::vector<std::string>& args) {
    bool json = false;
    if (auto e = list_options(args, json)) return *e;
    GenSession s(o);
    if (auto e = s.start_generator(json)) return *e;
    const ListKind k = timing ? timings_of(s) : patterns_of(s);
    const ListReading r = read_now(s, timing);

    if (json) {
        std::vector<std::string> entries;
        for (std::size_t i = 0; i < k.names.size(); ++i) {
            json::Object entry;
            entry.add("number", static_cast<std::int64_t>(i) + 1).add("name", k.names[i]);
            if (!timing) entry.add("motion_text", takes_motion_text(s, static_cast<int>(i) + 1));
            entries.push_back(entry.str());
        }
        json::Object doc;
        doc.add("catalogue", s.catalogue_file()).add("task", task_mode_text(s.unit().task_mode));
        doc.add_or_null("now", r.now);
        if (r.downscale) doc.add("downscale", *r.downscale);
        if (r.motion) doc.add("motion_text", *r.motion);
        doc.add_raw(timing ? "timings" : "patterns", json::array_of(entries));
        doc.add_raw("link", s.cli().link_json());
        const std::string failure =
            s.failure(timing ? "the timing read-back" : "the pattern read-back");
        if (failure.empty())
            doc.add_null("error");
        else
            doc.add("error", failure);
        std::cout << doc.str() << "\n";
    } else {
        if (r.downscale) std::cout << "down-scaling: " << *r.downscale << "\n";
        for (std::size_t i = 0; i < k.names.size(); ++i) {
            const int n = static_cast<int>(i) + 1;
            std::cout << (r.now == n ? "* " : "  ") << std::setw(3) << n << "  " << k.names[i];
            if (!timing && takes_motion_text(s, n)) std::cout << "  [--motion-text]";
            std::cout << "\n";
        }
        if (r.motion) std::cout << "motion text: " << *r.motion << "\n";
    }
    std::cout.flush();
    return s.outcome(timing ? "the timing read-back" : "the pattern read-back");
}

// ---- set -----------------------------------------------------------------------------

int set(const LinkOptions& o, bool timing, const std::vector<std::string>& args) {
    if (args.empty()) return gen_usage(std::string(timing ? "timing" : "pattern") + " set N|NAME");
    std::optional<std::string> motion;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (timing || args[i] != "--motion-text")
            return gen_usage("unknown option '" + args[i] + "'");
        if (i + 1 >= args.size()) return gen_usage("--motion-text needs a text");
        motion = args[++i];
        if (trim_blanks(*motion).size() > static_cast<std::size_t>(motion_text_max))
            return gen_usage("the motion text takes at most 20 characters");
    }
    GenSession s(o);
    if (auto e = s.start_generator(false)) return *e;
    const ListKind k = timing ? timings_of(s) : patterns_of(s);
    const std::optional<int> n = resolve_entry(k, args[0]);
    if (!n) return gen_exit_usage;
    const std::string& name = k.names[static_cast<std::size_t>(*n - 1)];
    const std::string what = std::string(k.word) + " " + std::to_string(*n);

    if (timing && !timing_output_allowed(*n, s.unit().task_mode)) {
        std::cerr << "t27ctl: " << what << " (" << name
                  << ") is output only in the analyser task\n";
        return gen_exit_refused;
    }
    if (motion && !takes_motion_text(s, *n)) {
        std::cerr << "t27ctl: " << what << " (" << name << ") takes no motion text\n";
        return gen_exit_usage;
    }
    if (timing)
        timing_request(s.engine(), *n);
    else
        pattern_request(s.engine(), *n);
    if (const int e = s.outcome(what)) return e;
    std::cout << k.word << ": " << *n << " " << name << "\n";
    if (!motion) return gen_exit_ok;
    motion_text_request(s.engine(), *motion);
    if (const int e = s.outcome("the motion text")) return e;
    std::cout << "motion text: " << trim_blanks(*motion) << "\n";
    return gen_exit_ok;
}

int catalogue_command(const LinkOptions& o, bool timing, const std::vector<std::string>& args) {
    const std::vector<std::string> rest(args.begin() + (args.empty() ? 0 : 1), args.end());
    if (!args.empty() && args[0] == "list") return list(o, timing, rest);
    if (!args.empty() && args[0] == "set") return set(o, timing, rest);
    return gen_usage(timing ? "timing list or timing set?" : "pattern list or pattern set?");
}

}  // namespace

bool t27ctl_generator_verb(const std::string& word) {
    return word == "task" || word == "timing" || word == "pattern" || word == "panel" ||
           word == "sweep";
}

int t27ctl_generator(const LinkOptions& options, const std::string& verb,
                     const std::vector<std::string>& args) {
    if (verb == "task") return task(options, args);
    if (verb == "timing") return catalogue_command(options, true, args);
    if (verb == "pattern") return catalogue_command(options, false, args);
    if (verb == "panel") return t27ctl_panel(options, args);
    return t27ctl_sweep(options, args);
}

}  // namespace t27
