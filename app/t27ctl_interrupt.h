#pragma once
// Ctrl-C (and SIGTERM) in a long t27ctl command: the command finishes the
// request in hand and stops tidily instead of leaving the unit mid-change.
namespace t27 {

void catch_interrupts();
bool interrupt_requested();

}  // namespace t27
