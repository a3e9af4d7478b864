#include "protocol/qt/qt_pump.h"

#include <QCoreApplication>

namespace t27 {

QtPump::QtPump() {
    clock_.start();
    wake_.setSingleShot(true);
    wake_.setTimerType(Qt::PreciseTimer);
}

std::int64_t QtPump::now_ms() { return clock_.elapsed(); }

void QtPump::process_events() { QCoreApplication::processEvents(); }

void QtPump::wait_events(std::int64_t max_ms) {
    // The wake timer guarantees an event by the deadline, so the blocking
    // wait below cannot oversleep.
    wake_.start(static_cast<int>(max_ms > 0 ? max_ms : 1));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

}  // namespace t27
