#pragma once
// The time and date a monitor report's header carries, in the user's short
// formats. Shared by the Monitor tab and t27ctl so both headers read alike.
#include <QDate>
#include <QLocale>
#include <QTime>

#include "analyser/monitor_report.h"
#include "common/qt/qt_text.h"

namespace t27 {

inline void set_report_clock(ReportHeader& h) {
    const QLocale locale = QLocale::system();
    h.time_text = from_qt(locale.toString(QTime::currentTime(), QLocale::ShortFormat));
    h.date_text = from_qt(locale.toString(QDate::currentDate(), QLocale::ShortFormat));
}

}  // namespace t27
