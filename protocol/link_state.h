#pragma once
// The one record of the link: which transport is selected, whether it is open,
// the transaction in flight and what the last reply left behind. Owned by
// whoever owns the Engine (the main window, t27ctl, a test).
#include <cstddef>
#include <string>

#include "protocol/reply_status.h"

namespace t27 {

inline constexpr int interface_rs232 = 0;
inline constexpr int interface_ethernet = 1;

// Characters of an EDID block read that follow the reply line: 128 bytes as
// "HH " triplets plus the line end.
inline constexpr int edid_block_chars = 386;

// The command monitor's log is emptied once it grows past this.
inline constexpr std::size_t monitor_log_limit = 65530;

// A unit that streams bytes without ever ending a line must not grow memory
// without bound: past this many characters the reply text stops growing (the
// line-end flags still count, so a late CR LF still completes the reply).
inline constexpr std::size_t reply_text_cap = 65536;

struct LinkState {
    int link_interface = interface_rs232;
    int com_port = 1;  // 1..16
    bool serial_open = false;
    bool ethernet_connected = false;
    bool cmdtx_busy = false;
    bool quiet_transaction = false;
    bool app_closing = false;
    bool eot_reply = false;
    bool block_follows = false;

    std::string cmdrx_str;
    std::string cmdrx_block;
    int cmdrx_count = 0;
    bool cr_seen = false;
    bool lf_seen = false;
    bool reply_complete = false;

    ReplyStatus cmdrx_status = ReplyStatus::NotSent;
    std::string cmdrx_param1 = "None";
    std::string cmdrx_param2 = "None";
    std::string cmdrx_param3 = "None";

    bool monitor_on = false;
    std::string monitor_log;
};

}  // namespace t27
