#pragma once
#include <string_view>

namespace t27 {

// Outcome of one transaction. The numbers are what t27ctl prints and exits with.
enum class ReplyStatus : int {
    NotSent = 0,     // the transport is not open or the request was refused; nothing was sent
    Accepted = 1,    // complete reply, same command word, first parameter not "err..."
    NoResponse = 2,  // nothing complete after both attempts, not linked, or transport failure
    ErrorReply = 3,  // complete reply with another command word or an "err..." parameter
};

constexpr std::string_view reply_status_name(ReplyStatus s) {
    switch (s) {
        case ReplyStatus::NotSent: return "NotSent";
        case ReplyStatus::Accepted: return "Accepted";
        case ReplyStatus::NoResponse: return "NoResponse";
        case ReplyStatus::ErrorReply: return "ErrorReply";
    }
    return "?";
}

}  // namespace t27
