#include "common/console.h"

#include <csignal>
#include <cstdio>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>

#include <cstring>
#endif

namespace t27 {

namespace {

volatile std::sig_atomic_t* interrupt_flag = nullptr;

extern "C" void set_interrupt_flag(int sig) {
    if (interrupt_flag) *interrupt_flag = sig;
#if defined(_WIN32)
    // The C runtime resets the handler after each signal.
    std::signal(SIGINT, set_interrupt_flag);
#endif
}

}  // namespace

bool stderr_is_terminal() {
#if defined(_WIN32)
    return _isatty(_fileno(stderr)) != 0;
#else
    return ::isatty(STDERR_FILENO) != 0;
#endif
}

void on_interrupt_set(volatile std::sig_atomic_t* flag) {
    interrupt_flag = flag;
#if defined(_WIN32)
    std::signal(SIGINT, set_interrupt_flag);
    std::signal(SIGTERM, set_interrupt_flag);
#else
    struct sigaction sa;
    std::memset(&sa, 0, sizeof sa);
    sa.sa_handler = set_interrupt_flag;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
#endif
}

}  // namespace t27
