#pragma once
// Small file helpers for tests.

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QSize>
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

// A one-coloured bitmap picture file (a stamp).
inline bool writePicture(const QString& path, QSize size, QColor colour = Qt::red)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    return img.save(path, "BMP");
}

inline QString dataPath(const QString& name)
{
    return QStringLiteral(TOVALIN_SOURCE_DIR "/tests/data/") + name;
}

} // namespace TestFiles
