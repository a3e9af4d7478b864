#pragma once
// The first parameter of the reply just received.
#include <string>

#include "protocol/engine.h"

namespace t27 {

// The engine splits a reply only when its command word matched, so an
// answer to some other command would otherwise leave the previous reply's
// parameter behind.
inline std::string reply_param1(Engine& engine) {
    engine.cmdrx_param_get();
    return engine.link().cmdrx_param1;
}

}  // namespace t27
