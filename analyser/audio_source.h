#pragma once
// The generator's audio sources as the unit names them, with what the live
// view and the report show for each.
#include <array>
#include <string_view>

#include "analyser/analyser_state.h"

namespace t27 {

struct AudioSourceName {
    std::string_view word;  // the unit's reply value
    int code;               // AudioSourceCode
    std::string_view shown;
    std::string_view reported;
};

inline constexpr std::array<AudioSourceName, 3> audio_source_names = {{
    {"ana", audio_source_analog, "Analog", "Analog In"},
    {"hdmi", audio_source_hdmi, "HDMI", "HDMI In"},
    {"int", audio_source_internal, "Internal", "Internal Sinewave"},
}};

inline const AudioSourceName* find_audio_source(std::string_view word) {
    for (const auto& s : audio_source_names) {
        if (s.word == word) return &s;
    }
    return nullptr;
}

}  // namespace t27
