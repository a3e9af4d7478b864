#include "generator/name_match.h"

#include <algorithm>

namespace t27 {

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool contains_ignoring_case(std::string_view hay, std::string_view needle) {
    return std::search(hay.begin(), hay.end(), needle.begin(), needle.end(),
                       [](char a, char b) { return lower(a) == lower(b); }) != hay.end();
}

}  // namespace

bool same_ignoring_case(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

NameMatch match_name(std::span<const std::string> names, std::string_view wanted) {
    NameMatch m;
    if (wanted.empty()) return m;
    auto level = [&](auto fits) {
        m.matches.clear();
        for (std::size_t i = 0; i < names.size(); ++i)
            if (fits(names[i])) m.matches.push_back(static_cast<int>(i));
        return !m.matches.empty();
    };
    if (level([&](const std::string& n) { return n == wanted; }) ||
        level([&](const std::string& n) { return same_ignoring_case(n, wanted); }) ||
        level([&](const std::string& n) { return contains_ignoring_case(n, wanted); })) {
        if (m.matches.size() == 1) m.index = m.matches.front();
    }
    return m;
}

}  // namespace t27
