#pragma once
// What the generator commands of t27ctl (task, timing, pattern, panel,
// sweep) share: the linked unit with its catalogue, the exit codes and the
// way a failed request is told.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/t27ctl/link.h"
#include "generator/catalogue.h"

namespace t27 {

inline constexpr int gen_exit_ok = 0;
inline constexpr int gen_exit_link = 1;     // the link could not be opened
inline constexpr int gen_exit_lost = 2;     // no response, or the link went away
inline constexpr int gen_exit_refused = 3;  // the unit (or the tab's own rule) refused
inline constexpr int gen_exit_usage = 64;

int gen_usage(std::string_view why);

class GenSession {
  public:
    explicit GenSession(const LinkOptions& options) : cli_(options) {}

    // Opens the link, identifies the unit (the "link:" line on stdout unless
    // `json`, which keeps stdout for one JSON document) and loads the
    // unit's catalogue. Nothing when ready, else the exit code, with the
    // reason on stderr and, for `json`, the failure document on stdout.
    std::optional<int> start(bool json);

    // `start`, then whether the tabs of the pattern generator are within
    // reach: nothing when they are, else the exit code (reason as `start`).
    std::optional<int> start_generator(bool json);

    Engine& engine() { return cli_.engine(); }
    UnitIdentity& unit() { return cli_.unit(); }
    CliLink& cli() { return cli_; }
    const Catalogue& catalogue() const { return catalogue_; }
    const std::string& catalogue_file() const { return catalogue_file_; }

    // What happened to `what` when the last request was not accepted; empty
    // when it was.
    std::string failure(std::string_view what);
    // The exit code for the last request's status; when it was not accepted,
    // says on stderr what happened to `what`.
    int outcome(std::string_view what);

  private:
    CliLink cli_;
    Catalogue catalogue_;
    std::string catalogue_file_;
};

// The reply as received, without its line end: an error reply may carry
// another command word, so its parameters alone would not say which.
std::string reply_line(const LinkState& link);

// A whole decimal number (digits only), or nothing.
std::optional<int> whole_number(std::string_view text);

}  // namespace t27
