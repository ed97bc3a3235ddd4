#include "platform/JapaneseFonts.h"

#include <QFontDatabase>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace JapaneseFonts {
namespace {

enum class Kind { Gothic, PGothic, Mincho, PMincho };

struct WindowsFace {
    const char16_t* name;
    Kind kind;
    bool listed; // shown in the face list (the Japanese spellings, as Japanese Windows lists them)
};

const WindowsFace kWindowsFaces[] = {
    {u"ＭＳ ゴシック", Kind::Gothic, true},
    {u"ＭＳ Ｐゴシック", Kind::PGothic, true},
    {u"ＭＳ 明朝", Kind::Mincho, true},
    {u"ＭＳ Ｐ明朝", Kind::PMincho, true},
    {u"MS Gothic", Kind::Gothic, false},
    {u"MS PGothic", Kind::PGothic, false},
    {u"MS Mincho", Kind::Mincho, false},
    {u"MS PMincho", Kind::PMincho, false},
    {u"MS UI Gothic", Kind::PGothic, false},
};

// Preferred stand-ins for each kind, best first; any other Japanese face comes after them.
QStringList preferredFamilies(Kind kind)
{
    switch (kind) {
    case Kind::Gothic:
        return {QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic"), QStringLiteral("IPAPGothic")};
    case Kind::PGothic:
        return {QStringLiteral("IPAPGothic"), QStringLiteral("IPAexGothic"), QStringLiteral("IPAGothic")};
    case Kind::Mincho:
        return {QStringLiteral("IPAMincho"), QStringLiteral("IPAexMincho"), QStringLiteral("IPAPMincho")};
    case Kind::PMincho:
        return {QStringLiteral("IPAPMincho"), QStringLiteral("IPAexMincho"), QStringLiteral("IPAMincho")};
    }
    return {};
}

// Case, width and spaces do not matter when a stored name is compared with a Windows name:
// "ＭＳ　ゴシック", "MS ゴシック" and "ms gothic" are all recognised.
QString matchKey(const QString& name)
{
    QString key;
    key.reserve(name.size());
    for (QChar c : name) {
        char16_t u = c.unicode();
        if (u == u' ' || u == 0x3000)
            continue;
        if (u >= 0xFF01 && u <= 0xFF5E)
            u = char16_t(u - 0xFF01 + 0x21);
        key.append(QChar(u).toUpper());
    }
    return key;
}

// Generic names that Qt lists beside the real families.
bool isGenericAlias(const QString& family)
{
    return family == QLatin1String("Sans Serif") || family == QLatin1String("Serif")
        || family == QLatin1String("Monospace");
}

// "Nimbus Sans [urw]" -> "Nimbus Sans": the face list shows a family once.
QString withoutFoundry(const QString& family)
{
    const int bracket = family.indexOf(QLatin1String(" ["));
    return bracket > 0 && family.endsWith(QLatin1Char(']')) ? family.left(bracket) : family;
}

struct Cache {
    QMutex mutex;
    bool loaded = false;
    QSet<QString> families;          // installed families, foundry removed, lower case
    QStringList japaneseFamilies;    // installed families covering Japanese, sorted
    QHash<QString, QString> resolved; // stored face (no "@") -> installed family
};

Cache& cache()
{
    static Cache c;
    return c;
}

void loadLocked(Cache& c)
{
    if (c.loaded)
        return;
    c.loaded = true;
    for (const QString& f : QFontDatabase::families())
        c.families.insert(withoutFoundry(f).toLower());
    QStringList ja;
    for (const QString& f : QFontDatabase::families(QFontDatabase::Japanese)) {
        const QString name = withoutFoundry(f);
        if (!isGenericAlias(name) && !ja.contains(name))
            ja.append(name);
    }
    std::sort(ja.begin(), ja.end());
    c.japaneseFamilies = ja;
}

const WindowsFace* windowsFace(const QString& face)
{
    const QString key = matchKey(face);
    for (const WindowsFace& w : kWindowsFaces) {
        if (matchKey(QString::fromUtf16(w.name)) == key)
            return &w;
    }
    return nullptr;
}

QString standInLocked(Cache& c, Kind kind)
{
    for (const QString& f : preferredFamilies(kind)) {
        if (c.families.contains(f.toLower()))
            return f;
    }
    if (!c.japaneseFamilies.isEmpty())
        return c.japaneseFamilies.first();
    // No Japanese face at all: the default font still draws Latin text.
    return QFont().defaultFamily();
}

bool looksMincho(const QString& face)
{
    return face.contains(QStringLiteral("明朝")) || face.contains(QLatin1String("mincho"), Qt::CaseInsensitive)
        || face.contains(QLatin1String("serif"), Qt::CaseInsensitive);
}

QString resolveLocked(Cache& c, const QString& face)
{
    auto it = c.resolved.constFind(face);
    if (it != c.resolved.constEnd())
        return *it;
    QString family;
    if (const WindowsFace* w = windowsFace(face)) {
        family = standInLocked(c, w->kind);
    } else if (!face.trimmed().isEmpty() && c.families.contains(withoutFoundry(face.trimmed()).toLower())) {
        family = face.trimmed();
    } else if (!face.trimmed().isEmpty() && QFontDatabase::hasFamily(face.trimmed())) {
        // Localised names such as "IPAゴシック" are known to fontconfig.
        family = face.trimmed();
    } else {
        family = standInLocked(c, looksMincho(face) ? Kind::Mincho : Kind::Gothic);
    }
    c.resolved.insert(face, family);
    return family;
}

} // namespace

QString baseFace(const QString& face)
{
    return isVerticalFace(face) ? face.mid(1) : face;
}

void install()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    Cache& c = cache();
    QMutexLocker lock(&c.mutex);
    loadLocked(c);
    for (const WindowsFace& w : kWindowsFaces) {
        QStringList subs{standInLocked(c, w.kind)};
        for (const QString& f : c.japaneseFamilies) {
            if (!subs.contains(f))
                subs.append(f);
        }
        const QString name = QString::fromUtf16(w.name);
        QFont::insertSubstitutions(name, subs);
        QFont::insertSubstitutions(QLatin1Char('@') + name, subs);
    }
}

QStringList faceList(bool includeVertical, bool sorted)
{
    Cache& c = cache();
    QMutexLocker lock(&c.mutex);
    loadLocked(c);

    QStringList out;
    QSet<QString> seen;
    auto add = [&](const QString& name) {
        if (!seen.contains(name)) {
            seen.insert(name);
            out.append(name);
        }
    };
    for (const QString& f : QFontDatabase::families()) {
        const QString name = withoutFoundry(f);
        if (isGenericAlias(name) || QFontDatabase::isPrivateFamily(f) || !QFontDatabase::isSmoothlyScalable(f))
            continue;
        add(name);
    }
    if (!c.japaneseFamilies.isEmpty()) {
        for (const WindowsFace& w : kWindowsFaces) {
            if (w.listed)
                add(QString::fromUtf16(w.name));
        }
    }
    if (includeVertical) {
        const QStringList horizontal = out;
        for (const QString& name : horizontal) {
            if (windowsFace(name) || c.japaneseFamilies.contains(name))
                add(QLatin1Char('@') + name);
        }
    }
    if (sorted) {
        std::sort(out.begin(), out.end(), [](const QString& a, const QString& b) {
            const int ci = QString::compare(a, b, Qt::CaseInsensitive);
            return ci != 0 ? ci < 0 : a < b;
        });
    }
    return out;
}

QString resolveFamily(const QString& face)
{
    Cache& c = cache();
    QMutexLocker lock(&c.mutex);
    loadLocked(c);
    return resolveLocked(c, baseFace(face));
}

bool coversJapanese(const QString& family)
{
    Cache& c = cache();
    QMutexLocker lock(&c.mutex);
    loadLocked(c);
    const QString name = withoutFoundry(family);
    for (const QString& f : c.japaneseFamilies) {
        if (f.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QFont font(const QString& face, qreal pixelSize, bool bold, bool italic)
{
    QString family;
    QString fallback;
    {
        Cache& c = cache();
        QMutexLocker lock(&c.mutex);
        loadLocked(c);
        const QString base = baseFace(face);
        family = resolveLocked(c, base);
        fallback = standInLocked(c, looksMincho(base) ? Kind::Mincho : Kind::Gothic);
    }
    QFont f(family);
    // Kanji missing from a Latin face come from a Japanese face before any other fallback.
    if (fallback != family)
        f.setFamilies({family, fallback});
    int px = 1;
    if (std::isfinite(pixelSize))
        px = int(std::clamp<qreal>(std::round(pixelSize), 1, kMaxPixelSize));
    f.setPixelSize(px);
    f.setBold(bold);
    f.setItalic(italic);
    f.setKerning(true);
    return f;
}

int screenPixelSize(int points)
{
    const double px = points * 96.0 / 72.0;
    return int(px < 0 ? std::ceil(px - 0.5) : std::floor(px + 0.5));
}

} // namespace JapaneseFonts
