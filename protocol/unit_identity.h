#pragma once
// Who is on the other end of the link, as the last link sequence found out.
#include <string>

namespace t27 {

inline constexpr int not_known = 254;

inline constexpr int family_v4 = 0;
inline constexpr int family_v4l = 1;
inline constexpr int family_v5 = 2;

inline constexpr int task_analyser = 0;
inline constexpr int task_pattern = 1;
inline constexpr int task_cable = 2;

// Only the V4L family has a cable test to switch to; while one of its units
// runs it, the tabs of the other tasks are out of reach.
inline bool cable_task_offered(int model_family) { return model_family == family_v4l; }
inline bool cable_task_only(int model_family, int task_mode) {
    return model_family == family_v4l && task_mode == task_cable;
}

struct UnitIdentity {
    int model_family = not_known;  // 254 = not linked, or a model not in the table
    int board_id = not_known;
    std::string linked_model;      // empty while not linked
    int task_mode = not_known;     // 254 = not read yet
};

}  // namespace t27
