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
    std::string legacy;
    const std::string user = user_dir_for(
        utf8(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)),
        utf8(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)), &legacy);
    ProgramPlaces places = decide_program_places(utf8(program_folder), utf8(override_dir), user);
    if (places.portable()) return places;
    const QString user_dir = QString::fromStdString(places.user);
    // The first start with this folder brings along what an earlier version
    // kept in the old one.
    if (!QDir(user_dir).exists()) adopt_legacy_user_files(places, legacy);
    QDir().mkpath(user_dir);
    forget_first_use_copies(places);
    return places;
}

}  // namespace t27
