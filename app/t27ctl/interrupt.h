#pragma once
// Ctrl-C (and SIGTERM) in a long t27ctl command: the command finishes the
// request in hand and stops tidily instead of leaving the unit mid-change.
namespace t27 {

void catch_interrupts();
bool interrupt_requested();
// The exit code a shell gives a program ended by the signal that came
// (128 + its number: 130 for Ctrl-C, 143 for SIGTERM), or 0 when none did.
int interrupt_exit_code();

}  // namespace t27
