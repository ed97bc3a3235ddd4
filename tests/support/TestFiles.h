#pragma once
// Small file helpers for tests.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace TestFiles {

inline QByteArray read(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

inline bool write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

inline QString dataPath(const QString& name)
{
    return QStringLiteral(TOVALIN_SOURCE_DIR "/tests/data/") + name;
}

} // namespace TestFiles
