#pragma once
// What the transaction engine shows to a person. The main window implements it
// with widgets, t27ctl with stderr, tests with a recorder. The engine never
// opens a window itself.
#include <string>

#include "common/colours.h"

namespace t27 {

enum class MessageIcon { None, Error, Warning, Information };

class EngineView {
public:
    virtual ~EngineView() = default;
    virtual void show_message(const std::string& text, MessageIcon icon) = 0;
    virtual void set_link_label(const std::string& caption, Colour colour) = 0;
    // The activity marker: shown while a transaction waits, moved each tick.
    virtual void set_activity(bool /*visible*/, int /*position*/) {}
    // The receive pass appended to the monitor log while logging was on.
    virtual void monitor_log_changed(const std::string& /*log*/) {}
    // The monitor log passed its limit and was emptied.
    virtual void monitor_log_cleared() {}
};

}  // namespace t27
