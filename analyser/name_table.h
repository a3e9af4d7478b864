#pragma once
// Looking a code up in a fixed table of display texts without ever reading past
// its end.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace t27 {

inline std::string table_text(std::span<const std::string_view> table, int code,
                              std::string_view outside = {}) {
    if (code < 0 || static_cast<std::size_t>(code) >= table.size()) return std::string(outside);
    return std::string(table[static_cast<std::size_t>(code)]);
}

}  // namespace t27
