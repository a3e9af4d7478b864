#pragma once
// The only place protocol bytes become widget text and back: one byte is one
// Latin-1 character, so every byte value 0-255 survives the round trip.
#include <QString>
#include <string>

namespace t27 {

inline QString to_qt(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string from_qt(const QString& text) {
    const QByteArray b = text.toLatin1();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

}  // namespace t27
