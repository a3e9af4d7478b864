#include "sim/faults.h"

#include <charconv>

namespace t27::sim {

namespace {

bool parse_count(std::string_view text, std::int64_t max, std::int64_t& out) {
    if (text.empty()) return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size() && out >= 0 && out <= max;
}

std::string noise(FaultPlan& plan, std::size_t n) {
    std::string out;
    out.reserve(n);
    while (out.size() < n) {
        plan.noise_seed = plan.noise_seed * 1103515245u + 12345u;
        char c = static_cast<char>((plan.noise_seed >> 16) & 0xFF);
        // Line ends and EOT would turn noise into a reply of its own; the
        // point is a corrupted reply, not an extra one.
        if (c == '\r' || c == '\n' || c == '\x04') continue;
        out.push_back(c);
    }
    return out;
}

Reply with_other_word(const Reply& r) {
    Reply out = r;
    std::size_t end = out.line.find_first_of(" \r");
    if (end == std::string::npos) end = 0;
    out.line.replace(0, end, wrong_word_text);
    return out;
}

}  // namespace

bool is_fault_name(std::string_view name) {
    for (std::string_view n : {"drop", "delay", "unsolicited", "err", "wrongword", "garbage",
                               "close", "close-mid-block", "dup", "clear"})
        if (name == n) return true;
    return false;
}

void FaultPlan::clear() {
    std::uint32_t seed = noise_seed;
    *this = FaultPlan{};
    noise_seed = seed;
}

bool FaultPlan::armed() const {
    return drop > 0 || delay_ms > 0 || !unsolicited.empty() || err || wrong_word || garbage > 0 ||
           close || close_mid_block || dup;
}

std::string arm_fault(FaultPlan& plan, std::string_view form) {
    std::size_t blank = form.find(' ');
    std::string_view name = form.substr(0, blank);
    std::string_view arg =
        blank == std::string_view::npos ? std::string_view{} : form.substr(blank + 1);
    std::int64_t n = 0;
    auto needs_no_arg = [&](bool& flag) -> std::string {
        if (!arg.empty()) return "no argument expected";
        flag = true;
        return {};
    };
    if (name == "drop") {
        if (!parse_count(arg, 1000000, n)) return "drop needs a count";
        plan.drop = static_cast<int>(n);
        return {};
    }
    if (name == "delay") {
        if (!parse_count(arg, 600000, n)) return "delay needs milliseconds (0 to 600000)";
        plan.delay_ms = n;
        return {};
    }
    if (name == "garbage") {
        if (!parse_count(arg, 65536, n)) return "garbage needs a byte count (0 to 65536)";
        plan.garbage = static_cast<std::size_t>(n);
        return {};
    }
    if (name == "unsolicited") {
        if (arg.empty()) return "unsolicited needs a line";
        plan.unsolicited.emplace_back(arg);
        return {};
    }
    if (name == "err") return needs_no_arg(plan.err);
    if (name == "wrongword") return needs_no_arg(plan.wrong_word);
    if (name == "close") return needs_no_arg(plan.close);
    if (name == "close-mid-block") return needs_no_arg(plan.close_mid_block);
    if (name == "dup") return needs_no_arg(plan.dup);
    if (name == "clear") {
        if (!arg.empty()) return "no argument expected";
        plan.clear();
        return {};
    }
    return "unknown fault '" + std::string(name) + "'";
}

std::vector<Emission> apply_faults(FaultPlan& plan, std::string_view request_word,
                                   const Reply& reply) {
    std::vector<Emission> out;
    if (reply.silent) return out;
    if (plan.close) {
        plan.close = false;
        out.push_back(Emission{{}, plan.delay_ms, true});
        return out;
    }
    if (plan.drop > 0) {
        --plan.drop;
        return out;
    }
    Reply r = reply;
    if (plan.err) {
        plan.err = false;
        // A block read must be refused in a form that says no block follows,
        // or the program would wait for one that never comes.
        r = make_error(request_word, reply.block.empty() ? "" : "ddc");
    }
    if (plan.wrong_word) {
        plan.wrong_word = false;
        r = with_other_word(r);
    }
    std::int64_t wait = plan.delay_ms;
    for (const std::string& line : plan.unsolicited) {
        out.push_back(Emission{line + "\r\n", wait, false});
        wait = 0;
    }
    plan.unsolicited.clear();
    if (plan.garbage > 0) {
        out.push_back(Emission{noise(plan, plan.garbage), wait, false});
        plan.garbage = 0;
        wait = 0;
    }
    if (plan.close_mid_block && !r.block.empty()) {
        plan.close_mid_block = false;
        out.push_back(Emission{r.line + r.block.substr(0, r.block.size() / 2), wait, true});
        return out;
    }
    out.push_back(Emission{r.bytes(), wait, false});
    if (plan.dup) {
        plan.dup = false;
        out.push_back(Emission{r.bytes(), 0, false});
    }
    return out;
}

}  // namespace t27::sim
