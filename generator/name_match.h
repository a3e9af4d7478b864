#pragma once
// Finding an entry by the name a user typed: catalogue entries for scripts,
// panel rows and buttons by their captions.
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace t27 {

struct NameMatch {
    int index = -1;            // position in the list, -1 when none or several
    std::vector<int> matches;  // every position that fits, when ambiguous
};

// The exact name first, then the one name equal to it ignoring case, then
// the one name holding it as a substring ignoring case. Several names at
// the first level that has any make the match ambiguous.
NameMatch match_name(std::span<const std::string> names, std::string_view wanted);

// Case-insensitive over ASCII letters only: catalogue names are 8-bit text
// whose upper half has no case rule the unit shares.
bool same_ignoring_case(std::string_view a, std::string_view b);

}  // namespace t27
