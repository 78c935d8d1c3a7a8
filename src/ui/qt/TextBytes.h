#pragma once

#include <QFile>
#include <QString>

#include <string>

namespace brivane {

// The core holds paths as the file system's bytes; the windows show them as text.
inline std::string ToBytes(const QString& text)
{
    return QFile::encodeName(text).toStdString();
}

inline QString ToText(const std::string& bytes)
{
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

} // namespace brivane
