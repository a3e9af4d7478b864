#pragma once
// The time and date a monitor report's header carries, in the user's short
// formats. Shared by the Monitor tab and t27ctl so both headers read alike.
#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>

#include "analyser/monitor_report.h"
#include "common/qt/qt_text.h"

namespace t27 {

inline void set_report_clock(ReportHeader& h, const QDateTime& when) {
    const QLocale locale = QLocale::system();
    h.time_text = from_qt(locale.toString(when.time(), QLocale::ShortFormat));
    h.date_text = from_qt(locale.toString(when.date(), QLocale::ShortFormat));
}

inline void set_report_clock(ReportHeader& h) { set_report_clock(h, QDateTime::currentDateTime()); }

}  // namespace t27
