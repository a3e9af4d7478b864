#include "app/t27ctl/interrupt.h"

#include <csignal>

#include "common/console.h"

namespace t27 {

namespace {

volatile std::sig_atomic_t interrupted = 0;

}  // namespace

void catch_interrupts() { on_interrupt_set(&interrupted); }

bool interrupt_requested() { return interrupted != 0; }

int interrupt_exit_code() { return interrupted != 0 ? 128 + interrupted : 0; }

}  // namespace t27
