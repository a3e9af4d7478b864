#include "app/t27ctl_interrupt.h"

#include <csignal>
#include <cstring>

namespace t27 {

namespace {

volatile std::sig_atomic_t interrupted = 0;

void on_interrupt(int) { interrupted = 1; }

}  // namespace

void catch_interrupts() {
    struct sigaction sa;
    std::memset(&sa, 0, sizeof sa);
    sa.sa_handler = on_interrupt;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
}

bool interrupt_requested() { return interrupted != 0; }

}  // namespace t27
