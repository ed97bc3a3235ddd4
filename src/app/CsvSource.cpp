#include "app/CsvSource.h"

#include "app/AppSettings.h"
#include "platform/Cp932.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>

namespace {

QStringList splitLines(const char* p, qsizetype sizeIn, CsvReadInfo* info)
{
    QStringList lines;
    qsizetype size = sizeIn;
    lines.reserve(size / 48 + 1);
    if (const void* nul = std::memchr(p, 0, size_t(size)))
        size = static_cast<const char*>(nul) - p;

    // Code page 932 never uses CR or LF as the second byte of a character, so the bytes
    // can be cut into lines before decoding.
    qsizetype badBytes = 0;
    int firstBadLine = -1;
    qsizetype start = 0;
    while (start < size) {
        const char* s = p + start;
        qsizetype len = 0;
        while (start + len < size && s[len] != '\r' && s[len] != '\n')
            ++len;
        Cp932::DecodeStats stats;
        lines.append(Cp932::decode(QByteArrayView(s, len), &stats));
        if (stats.badSequences) {
            badBytes += stats.badSequences;
            if (firstBadLine < 0)
                firstBadLine = int(lines.size() - 1);
        }
        qsizetype next = start + len;
        if (next < size) {
            if (p[next] == '\r' && next + 1 < size && p[next + 1] == '\n')
                next += 2;
            else
                next += 1;
        }
        start = next;
    }
    if (info) {
        info->badBytes = badBytes;
        info->firstBadLine = firstBadLine;
    }
    return lines;
}

} // namespace

QStringList SplitCsvLines(const QByteArray& bytes, CsvReadInfo* info)
{
    return splitLines(bytes.constData(), bytes.size(), info);
}

QStringList ReadCsvLines(const QString& path, CsvReadInfo* info)
{
    CsvReadInfo local;
    CsvReadInfo& r = info ? *info : local;
    r = CsvReadInfo();
    const QFileInfo fi(path);
    if (path.isEmpty() || !fi.exists() || !fi.isFile()) {
        r.status = CsvReadInfo::Missing;
        return {};
    }
    if (fi.size() > kMaxCsvBytes) {
        r.status = CsvReadInfo::TooLarge;
        return {};
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        r.status = CsvReadInfo::Unreadable;
        return {};
    }
    if (f.size() == 0)
        return {};
    // Mapped rather than copied: the address list is read once, straight from the cache.
    if (const uchar* mapped = f.map(0, f.size())) {
        QStringList lines = splitLines(reinterpret_cast<const char*>(mapped), f.size(), &r);
        f.unmap(const_cast<uchar*>(mapped));
        return lines;
    }
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        r.status = CsvReadInfo::Unreadable;
        return {};
    }
    return SplitCsvLines(bytes, &r);
}

QStringList CsvRecordLines(const QStringList& lines, bool hasHeader)
{
    if (!hasHeader)
        return lines;
    return lines.mid(1);
}

int CsvFieldCount(QStringView line)
{
    if (line.isEmpty())
        return 0;
    return int(line.count(QLatin1Char(','))) + 1;
}

namespace {

// The delimiter character, or 0 for none.
char16_t delimiterChar(QStringView textDelimiter)
{
    qsizetype b = 0;
    qsizetype e = textDelimiter.size();
    while (b < e && textDelimiter.at(b).unicode() <= 0x20)
        ++b;
    while (e > b && textDelimiter.at(e - 1).unicode() <= 0x20)
        --e;
    return e - b == 1 ? textDelimiter.at(b).unicode() : char16_t(0);
}

QStringView stripDelimiter(QStringView field, QChar d)
{
    if (!field.isEmpty() && field.front() == d)
        field = field.mid(1);
    if (!field.isEmpty() && field.back() == d)
        field.chop(1);
    return field;
}

} // namespace

QString EffectiveCsvDelimiter(QStringView textDelimiter)
{
    const char16_t d = delimiterChar(textDelimiter);
    return d ? QString(QChar(d)) : QString();
}

QString CsvField(QStringView line, int n, QStringView textDelimiter)
{
    const QString blank = QStringLiteral(" ");
    if (n < 1)
        return blank;
    QStringView rest = line;
    QStringView field;
    for (int i = 1; i <= n; ++i) {
        if (rest.isEmpty())
            return blank;
        const qsizetype comma = rest.indexOf(QLatin1Char(','));
        if (comma >= 0) {
            field = rest.left(comma);
            rest = rest.mid(comma + 1);
        } else {
            field = (i == n) ? rest : QStringView();
            rest = QStringView();
        }
    }
    if (const char16_t d = delimiterChar(textDelimiter))
        field = stripDelimiter(field, QChar(d));
    return field.toString();
}

QString CsvField(QStringView line, int n)
{
    return CsvField(line, n, AppSettings::instance().csv.textDelimiter);
}

QStringList CsvFields(QStringView line, QStringView textDelimiter)
{
    QStringList out;
    if (line.isEmpty())
        return out;
    const QChar d(delimiterChar(textDelimiter));
    qsizetype start = 0;
    while (true) {
        const qsizetype comma = line.indexOf(QLatin1Char(','), start);
        if (comma < 0) {
            const QStringView last = line.mid(start);
            // Nothing after the last comma: the field does not exist.
            if (last.isEmpty())
                out.append(QStringLiteral(" "));
            else
                out.append((d.isNull() ? last : stripDelimiter(last, d)).toString());
            break;
        }
        const QStringView f = line.mid(start, comma - start);
        out.append((d.isNull() ? f : stripDelimiter(f, d)).toString());
        start = comma + 1;
    }
    return out;
}
