#include "controls/Glyphs.h"

#include <QDir>

// The glyphs live in a resource of the static UI library; referencing its initialiser
// keeps the linker from dropping it.
static void ensureResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(glyphs);
        return true;
    }();
    (void)done;
}

QImage Glyphs::get(const QString& name)
{
    ensureResources();
    if (name.isEmpty() || name.contains(QLatin1Char('/')))
        return QImage();
    const QString path = QStringLiteral(":/glyphs/%1.xpm").arg(name);
    QImage image(path);
    if (image.isNull())
        return QImage();
    return image.convertToFormat(QImage::Format_RGB32);
}

QStringList Glyphs::names()
{
    ensureResources();
    QStringList out;
    const QStringList files = QDir(QStringLiteral(":/glyphs")).entryList({ QStringLiteral("*.xpm") }, QDir::Files, QDir::Name);
    for (const QString& f : files)
        out << f.left(f.size() - 4);
    return out;
}
