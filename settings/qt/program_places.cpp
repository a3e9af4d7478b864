#include "settings/qt/program_places.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace t27 {

namespace {

std::string utf8(const QString& s) { return s.toUtf8().toStdString(); }

}  // namespace

ProgramPlaces program_places(const QString& override_dir, const QString& program_folder) {
    // The window and t27ctl share one folder whichever of them runs.
    QCoreApplication::setApplicationName(QStringLiteral("t27-controller"));
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    ProgramPlaces places =
        decide_program_places(utf8(program_folder), utf8(override_dir), utf8(user));
    if (!places.portable()) QDir().mkpath(QString::fromStdString(places.user));
    return places;
}

}  // namespace t27
