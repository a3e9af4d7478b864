// `t27ctl timing list|set` and `t27ctl pattern list|set`: the Output Resolution
// and Pattern tabs from a script, one command on two lists.
#include "app/t27ctl/generator.h"

#include <iomanip>
#include <iostream>
#include <optional>

#include "app/t27ctl/gen_session.h"
#include "common/json_out.h"
#include "protocol/request_text.h"
#include "generator/downscale.h"
#include "generator/name_match.h"
#include "generator/output_requests.h"
#include "generator/output_select.h"

namespace t27 {

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
    // Digits are a number, however many: a long one is out of range, not a name.
    if (!arg.empty() && arg.find_first_not_of("0123456789") == std::string::npos) {
        const std::optional<int> n = whole_number(arg);
        if (n && *n >= 1 && *n <= count) return n;
        std::cerr << "t27ctl: " << k.word << " " << arg
                  << " is out of range: not in the unit's catalogue (1-" << count << ")\n";
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

int list(const LinkOptions& o, bool timing, bool json) {
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
        if (r.motion) std::cout << "motion text: " << terminal_text(*r.motion) << "\n";
    }
    std::cout.flush();
    return s.outcome(timing ? "the timing read-back" : "the pattern read-back");
}

// ---- set -----------------------------------------------------------------------------

int set(const LinkOptions& o, bool timing, const std::string& entry,
        const std::optional<std::string>& typed_motion) {
    // The text goes out as the window sends it: Latin-1, no control characters.
    std::optional<std::string> motion;
    if (typed_motion) {
        motion.emplace();
        if (const std::string why = motion_text_problem(*typed_motion, *motion); !why.empty())
            return gen_usage(why);
    }
    GenSession s(o);
    if (auto e = s.start_generator(false)) return *e;
    const ListKind k = timing ? timings_of(s) : patterns_of(s);
    const std::optional<int> n = resolve_entry(k, entry);
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
    std::cout << "motion text: " << terminal_text(*motion) << "\n";
    return gen_exit_ok;
}

}  // namespace

int t27ctl_catalogue_list(const LinkOptions& options, bool timing, bool json) {
    return list(options, timing, json);
}

int t27ctl_catalogue_set(const LinkOptions& options, bool timing, const CtlArgs& args) {
    return set(options, timing, args.words[0], args.motion_text);
}

}  // namespace t27
