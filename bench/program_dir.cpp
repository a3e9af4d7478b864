#include "bench/program_dir.h"

#include <QDir>
#include <QFile>

namespace t27::bench {

bool fill_program_dir(const QString& dir, const QString& data_dir, int link_interface) {
    const QDir data(data_dir);
    for (const QString& f : data.entryList({QStringLiteral("*.ini")}, QDir::Files))
        if (!QFile::copy(data.filePath(f), dir + "/" + f)) return false;
    if (!QDir().mkpath(dir + "/bmp")) return false;
    const QDir bmp(data.filePath(QStringLiteral("bmp")));
    for (const QString& f : bmp.entryList(QDir::Files))
        if (!QFile::copy(bmp.filePath(f), dir + "/bmp/" + f)) return false;

    // Interface, address, COM number, window position, then ten empty
    // recent-file entries: the settings file's line order.
    QByteArray s =
        QByteArray::number(link_interface) + "\r\n\"127.0.0.1\"\r\n1\r\n1500\r\n1500\r\n";
    for (int i = 0; i < 10; ++i) s += "\"\"\r\n";
    QFile settings(dir + "/Daveri_ini.txt");
    return settings.open(QIODevice::WriteOnly) && settings.write(s) == s.size();
}

}  // namespace t27::bench
