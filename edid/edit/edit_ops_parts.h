#pragma once
// What the edits of edit_ops.cpp and edit_ops_base.cpp share.
#include <initializer_list>
#include <string>
#include <utility>

#include "edid/edit/edit_ops.h"

namespace t27 {

inline std::string bytes_of(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

// Runs `edit` on a copy and keeps the copy only when every step succeeded.
template <typename Edit>
EdidEdit all_or_nothing(EdidModel& m, Edit edit) {
    EdidModel work = m;
    EdidEdit r = edit(work);
    if (r.ok()) m = std::move(work);
    return r;
}

}  // namespace t27
