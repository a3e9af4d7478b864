#pragma once
// The few console questions the command-line programs ask, answered per
// operating system.
#include <csignal>

namespace t27 {

// Whether stderr is an interactive terminal (progress lines go there only
// then, so a log file or a pipe gets no carriage-return clutter).
bool stderr_is_terminal();

// Sets `flag` to the signal's number (never 0) on Ctrl-C or a termination
// request, so a program can end with the code a shell expects of it. POSIX: without
// SA_RESTART, so a blocking wait returns and the caller sees the flag.
void on_interrupt_set(volatile std::sig_atomic_t* flag);

}  // namespace t27
