#pragma once

#include <QByteArray>
#include <QString>

namespace velmora {

// Windows-1252, the single-byte code page of the database connection and of the text files the
// supplier reads. A character the code page cannot hold becomes "?"; `lossless` tells whether
// that happened.
QByteArray toCp1252(const QString& text, bool* lossless = nullptr);
QString fromCp1252(const char* data, qsizetype size);
inline QString fromCp1252(const QByteArray& data) {
    return fromCp1252(data.constData(), data.size());
}

}  // namespace velmora
