#include "app/CsvSource.h"

#include "platform/Cp932.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <vector>

// --- the encoding -------------------------------------------------------------------------------

namespace {

bool hasByteOrderMark(const char* p, qsizetype size)
{
    return size >= 3 && uchar(p[0]) == 0xEF && uchar(p[1]) == 0xBB && uchar(p[2]) == 0xBF;
}

qsizetype untilNul(const char* p, qsizetype size)
{
    if (size <= 0)
        return 0; // an empty view may have no data at all, and memchr wants a pointer
    if (const void* nul = std::memchr(p, 0, size_t(size)))
        return static_cast<const char*>(nul) - p;
    return size;
}

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

bool isAsciiLetter(uchar b)
{
    return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
}

// Characters that belong in a Japanese address list, by blocks of 256: punctuation,
// letterlike symbols, arrows, shapes and enclosed numbers (U+2000-2BFF), CJK symbols, kana,
// enclosed and compatibility characters and kanji (U+2E00-9FFF), compatibility kanji,
// vertical, full-width and half-width forms (U+F900-FAFF, U+FE00-FFFF), pictographs
// (contact lists carry them) and kanji beyond the basic plane (𠮷).
inline bool belongsInJapanese(char32_t cp)
{
    const char32_t block = cp >> 8;
    return (block >= 0x20 && block <= 0x2B) || (block >= 0x2E && block <= 0x9F) || block == 0xF9 || block == 0xFA
        || (block >= 0xFE && block <= 0xFF) || (cp >= 0x1F000 && cp <= 0x1FAFF) || (cp >= 0x20000 && cp <= 0x3FFFF);
}

// An accented Latin letter (not × or ÷).
bool isLatinLetter(char32_t cp)
{
    return cp >= 0xC0 && cp <= 0x24F && cp != 0xD7 && cp != 0xF7;
}

// Bad bytes a UTF-8 text may have and still be taken for UTF-8: a cut last character, a
// stray byte or two, or one in a thousand characters of a long damaged list.
qsizetype badBytesAllowed(qsizetype multiByte)
{
    return std::max<qsizetype>(2, multiByte / 1000);
}

struct Utf8Scan {
    qsizetype multiByte = 0;
    qsizetype bad = 0;
    qsizetype firstBad = -1; // offset of the first bad byte
    qsizetype japanese = 0;
    qsizetype other = 0;

    void add(const Utf8Scan& o)
    {
        multiByte += o.multiByte;
        bad += o.bad;
        japanese += o.japanese;
        other += o.other;
    }
    // The rule of CheckCsvEncoding.
    bool isUtf8() const { return multiByte > 0 && bad <= badBytesAllowed(multiByte) && japanese > other; }
    // Bad bytes so many that no rest of restBytes could make the text UTF-8 any more.
    bool hopeless(qsizetype restBytes) const { return bad > badBytesAllowed(multiByte + restBytes / 2); }
};

// Reads bytes as UTF-8 the way QString::fromUtf8 does: every byte that is not part of a
// valid sequence is one U+FFFD. With out (room for n units) the text is written there and
// its length returned. With classify, counts which characters belong in Japanese text; a
// scan without out then stops as soon as the bad bytes rule UTF-8 out.
qsizetype decodeUtf8(const uchar* p, qsizetype n, Utf8Scan& s, bool classify, char16_t* out)
{
    qsizetype i = 0;
    qsizetype written = 0;
    while (i < n) {
        const uchar b = p[i];
        if (b < 0x80) {
            if (out)
                out[written++] = b;
            ++i;
            continue;
        }
        // Most of a Japanese list: a three-byte character.
        if ((b & 0xF0) == 0xE0 && i + 2 < n && (p[i + 1] & 0xC0) == 0x80 && (p[i + 2] & 0xC0) == 0x80) {
            const char16_t cp = char16_t((b & 0x0F) << 12 | (p[i + 1] & 0x3F) << 6 | (p[i + 2] & 0x3F));
            if (cp >= 0x800 && (cp < 0xD800 || cp > 0xDFFF)) {
                ++s.multiByte;
                if (classify)
                    ++(belongsInJapanese(cp) ? s.japanese : s.other);
                if (out)
                    out[written++] = cp;
                i += 3;
                continue;
            }
        }
        int len = 0;
        char32_t cp = 0;
        uchar lo = 0x80, hi = 0xBF; // allowed range of the second byte
        if (b >= 0xC2 && b <= 0xDF) {
            len = 2;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            cp = b & 0x0F;
            if (b == 0xE0)
                lo = 0xA0; // no overlong forms
            else if (b == 0xED)
                hi = 0x9F; // no surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            cp = b & 0x07;
            if (b == 0xF0)
                lo = 0x90;
            else if (b == 0xF4)
                hi = 0x8F;
        }
        bool valid = len > 0 && i + len <= n && p[i + 1] >= lo && p[i + 1] <= hi;
        for (int k = 2; valid && k < len; ++k)
            valid = (p[i + k] & 0xC0) == 0x80;
        if (!valid) {
            if (s.firstBad < 0)
                s.firstBad = i;
            ++s.bad;
            ++i;
            if (out)
                out[written++] = 0xFFFD;
            else if (classify && s.hopeless(n - i))
                break;
            continue;
        }
        for (int k = 1; k < len; ++k)
            cp = (cp << 6) | (p[i + k] & 0x3F);
        ++s.multiByte;
        if (classify) {
            bool japanese = belongsInJapanese(cp);
            if (!japanese && isLatinLetter(cp))
                japanese = (i > 0 && isAsciiLetter(p[i - 1])) || (i + len < n && isAsciiLetter(p[i + len]));
            ++(japanese ? s.japanese : s.other);
        }
        if (out) {
            if (cp >= 0x10000) {
                out[written++] = char16_t(0xD800 + ((cp - 0x10000) >> 10));
                out[written++] = char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
            } else {
                out[written++] = char16_t(cp);
            }
        }
        i += len;
    }
    return written;
}

} // namespace

CsvEncodingCheck CheckCsvEncoding(QByteArrayView bytes)
{
    CsvEncodingCheck c;
    const char* p = bytes.data();
    const qsizetype size = untilNul(p, bytes.size());
    if (hasByteOrderMark(p, size)) {
        c.byteOrderMark = true;
        c.decision = CsvEncoding::Utf8;
        return c;
    }
    Utf8Scan s;
    decodeUtf8(reinterpret_cast<const uchar*>(p), size, s, true, nullptr);
    c.multiByte = s.multiByte;
    c.badBytes = s.bad;
    c.japanese = s.japanese;
    c.other = s.other;
    c.decision = s.isUtf8() ? CsvEncoding::Utf8 : CsvEncoding::ShiftJis;
    return c;
}

CsvEncoding DecideCsvEncoding(QByteArrayView bytes, CsvEncoding choice)
{
    return choice == CsvEncoding::Auto ? CheckCsvEncoding(bytes).decision : choice;
}

// --- records ------------------------------------------------------------------------------------

CsvFormat CsvFormat::of(const CsvColumnMap& map)
{
    CsvFormat f;
    f.encoding = map.encoding;
    f.quoted = map.quoted;
    f.textDelimiter = map.textDelimiter;
    return f;
}

QChar CsvFormat::quoteChar() const
{
    // Records are cut on the bytes, so the quote must be a one-byte character in both
    // encodings; a typed delimiter that is not falls back to the usual one.
    const char16_t d = delimiterChar(textDelimiter);
    return d == 0 || d >= 0x80 || d == u',' ? QChar(u'"') : QChar(d);
}

namespace {

// Line ends in a stretch of bytes (CR LF counts once).
int countLineEnds(const char* s, qsizetype len)
{
    int n = 0;
    for (qsizetype i = 0; i < len; ++i) {
        if (s[i] == '\n' || (s[i] == '\r' && !(i + 1 < len && s[i + 1] == '\n')))
            ++n;
    }
    return n;
}

// Cuts the text into records. Neither code page 932 nor UTF-8 uses the bytes of CR, LF,
// the comma or '"' inside a character, so the bytes can be cut before decoding; a quote of
// 40..7E ("|", "\\" or a letter) is also the second byte of many double-byte characters
// in code page 932 (－ is 81 7C, 表 is 95 5C), and such a byte is text. The next CR, LF and
// quote are looked up with memchr and remembered, so that each byte is looked at about
// once however the records are laid out.
class RecordCutter {
public:
    RecordCutter(const char* p, qsizetype size, bool quoted, char quote, bool shiftJis)
        : m_p(p), m_size(size), m_quoted(quoted), m_quote(quote),
          m_secondBytes(shiftJis && Cp932::isTrailByte(uchar(quote)))
    {
    }

    // The length of the record that starts at start: up to the first line end, or with
    // quoting the first one outside a quoted field. *multiLine tells whether line ends lie
    // inside the record.
    qsizetype recordLength(qsizetype start, bool* multiLine)
    {
        const qsizetype firstEnd = std::min(next(m_cr, '\r', start), next(m_lf, '\n', start));
        const qsizetype len = measure(start);
        *multiLine = firstEnd < start + len;
        return len;
    }

private:
    qsizetype measure(qsizetype start)
    {
        qsizetype pos = start;
        while (true) {
            const qsizetype end = std::min(next(m_cr, '\r', pos), next(m_lf, '\n', pos));
            if (!m_quoted)
                return end - start;
            const qsizetype q = next(m_q, m_quote, pos);
            if (q >= end)
                return end - start;
            const bool secondByte = isSecondByte(pos, q);
            pos = q + 1;
            if (secondByte)
                continue;
            // A quote opens a field only at its start; elsewhere it is text.
            if (q != start && m_p[q - 1] != ',')
                continue;
            // Up to the quote that is not doubled, or the end of the text.
            while (true) {
                const qsizetype close = next(m_q, m_quote, pos);
                if (close >= m_size)
                    return m_size - start;
                if (isSecondByte(pos, close)) {
                    pos = close + 1;
                    continue;
                }
                if (close + 1 < m_size && m_p[close + 1] == m_quote) {
                    pos = close + 2;
                    continue;
                }
                pos = close + 1;
                break;
            }
        }
    }

    // Whether the quote byte at `at` is the second byte of a double-byte character; from is
    // where a character begins. Each byte is walked over once, as pos only moves on.
    bool isSecondByte(qsizetype from, qsizetype at) const
    {
        if (!m_secondBytes)
            return false;
        qsizetype i = from;
        while (i < at)
            i += Cp932::isLeadByte(uchar(m_p[i])) && Cp932::isTrailByte(uchar(m_p[i + 1])) ? 2 : 1;
        return i > at;
    }

    // The position of the next c at or after pos (m_size when none), remembered in cache;
    // pos never goes back, so a remembered position stays right until pos passes it.
    qsizetype next(qsizetype& cache, char c, qsizetype pos) const
    {
        if (cache < pos) {
            const void* hit = std::memchr(m_p + pos, c, size_t(m_size - pos));
            cache = hit ? static_cast<const char*>(hit) - m_p : m_size;
        }
        return cache;
    }

    const char* m_p;
    qsizetype m_size;
    bool m_quoted;
    char m_quote;
    bool m_secondBytes; // the quote byte may be the second byte of a character
    qsizetype m_cr = -1;
    qsizetype m_lf = -1;
    qsizetype m_q = -1;
};

// Cuts the text into records and decodes them. With verdict (UTF-8 only), also weighs the
// text for the automatic choice and gives up (false) as soon as it cannot be UTF-8.
bool cutRecords(const char* p, qsizetype size, const CsvFormat& format, bool utf8, Utf8Scan* verdict,
                QStringList& records, CsvReadInfo& info)
{
    records.clear();
    records.reserve(size / 48 + 1);
    info.encoding = utf8 ? CsvEncoding::Utf8 : CsvEncoding::ShiftJis;
    info.badBytes = 0;
    info.firstBadLine = -1;
    std::vector<char16_t> buffer;
    int line = 0; // line of the file where the record starts
    RecordCutter cutter(p, size, format.quoted, char(format.quoteChar().unicode()), !utf8);
    qsizetype start = 0;
    while (start < size) {
        const char* s = p + start;
        bool multiLine = false;
        const qsizetype len = cutter.recordLength(start, &multiLine);
        qsizetype bad = 0;
        qsizetype firstBad = -1;
        if (utf8) {
            if (buffer.size() < size_t(len))
                buffer.resize(size_t(len));
            Utf8Scan scan;
            const qsizetype n = decodeUtf8(reinterpret_cast<const uchar*>(s), len, scan, verdict, buffer.data());
            records.append(QString(reinterpret_cast<const QChar*>(buffer.data()), n));
            bad = scan.bad;
            firstBad = scan.firstBad;
            if (verdict) {
                verdict->add(scan);
                if (verdict->hopeless(size - start - len))
                    return false;
            }
        } else {
            Cp932::DecodeStats stats;
            records.append(Cp932::decode(QByteArrayView(s, len), &stats));
            bad = stats.badSequences;
            firstBad = stats.firstBadOffset;
        }
        if (bad) {
            info.badBytes += bad;
            if (info.firstBadLine < 0)
                info.firstBadLine = line + (multiLine ? countLineEnds(s, firstBad) : 0);
        }
        if (multiLine)
            line += countLineEnds(s, len);
        qsizetype next = start + len;
        if (next < size) {
            if (p[next] == '\r' && next + 1 < size && p[next + 1] == '\n')
                next += 2;
            else
                next += 1;
        }
        ++line;
        start = next;
    }
    return true;
}

QStringList splitRecords(const char* p, qsizetype sizeIn, const CsvFormat& format, CsvReadInfo* info)
{
    CsvReadInfo local;
    CsvReadInfo& r = info ? *info : local;
    const qsizetype size = untilNul(p, sizeIn);
    const bool mark = hasByteOrderMark(p, size);
    const char* text = mark ? p + 3 : p;
    const qsizetype textSize = mark ? size - 3 : size;
    QStringList records;
    switch (format.encoding == CsvEncoding::Auto && mark ? CsvEncoding::Utf8 : format.encoding) {
    case CsvEncoding::Utf8:
        cutRecords(text, textSize, format, true, nullptr, records, r);
        break;
    case CsvEncoding::ShiftJis:
        cutRecords(p, size, format, false, nullptr, records, r);
        break;
    case CsvEncoding::Auto: {
        // Read as UTF-8 and weighed on the way, as CheckCsvEncoding weighs it; a text that
        // is not UTF-8 by that rule is read again as code page 932.
        Utf8Scan verdict;
        if (!cutRecords(p, size, format, true, &verdict, records, r) || !verdict.isUtf8()) {
            // Plain ASCII reads the same either way.
            if (verdict.multiByte == 0 && verdict.bad == 0)
                r.encoding = CsvEncoding::ShiftJis;
            else
                cutRecords(p, size, format, false, nullptr, records, r);
        }
        break;
    }
    }
    return records;
}

} // namespace

QStringList SplitCsvLines(const QByteArray& bytes, const CsvFormat& format, CsvReadInfo* info)
{
    return splitRecords(bytes.constData(), bytes.size(), format, info);
}

QStringList SplitCsvLines(const QByteArray& bytes, CsvReadInfo* info)
{
    return SplitCsvLines(bytes, CsvFormat(), info);
}

QStringList ReadCsvLines(const QString& path, const CsvFormat& format, CsvReadInfo* info)
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
        return SplitCsvLines(QByteArray(), format, &r); // says how it would have been read
    // Mapped rather than copied: the address list is read once, straight from the cache.
    if (const uchar* mapped = f.map(0, f.size())) {
        QStringList lines = splitRecords(reinterpret_cast<const char*>(mapped), f.size(), format, &r);
        f.unmap(const_cast<uchar*>(mapped));
        return lines;
    }
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        r.status = CsvReadInfo::Unreadable;
        return {};
    }
    return SplitCsvLines(bytes, format, &r);
}

QStringList ReadCsvLines(const QString& path, CsvReadInfo* info)
{
    return ReadCsvLines(path, CsvFormat(), info);
}

QStringList CsvRecordLines(const QStringList& lines, bool hasHeader)
{
    if (!hasHeader)
        return lines;
    return lines.mid(1);
}

// --- fields without quoting ---------------------------------------------------------------------

int CsvFieldCount(QStringView line)
{
    if (line.isEmpty())
        return 0;
    return int(line.count(QLatin1Char(','))) + 1;
}

namespace {

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
    return CsvField(line, n, CsvFormat::of(AppSettings::instance().csv));
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

// --- fields with quoting ------------------------------------------------------------------------

namespace {

// One field of a quoted-mode record: the text between the quotes (or the whole field when
// it is not quoted) and what follows a closing quote up to the comma.
struct QuotedField {
    QStringView body;
    QStringView tail;
    bool quoted = false;
    bool doubled = false; // the body holds a doubled quote

    QString text(QChar q) const
    {
        if (!quoted)
            return body.toString();
        if (!doubled && tail.isEmpty() && body.indexOf(u'\n') < 0 && body.indexOf(u'\r') < 0)
            return body.toString();
        QString out;
        out.reserve(body.size() + tail.size());
        for (qsizetype i = 0; i < body.size(); ++i) {
            const QChar c = body.at(i);
            if (c == q) {
                ++i; // a doubled quote: the second one is the character
                out += q;
            } else if (c == u'\r' || c == u'\n') {
                if (c == u'\r' && i + 1 < body.size() && body.at(i + 1) == u'\n')
                    ++i;
                out += u' ';
            } else {
                out += c;
            }
        }
        out += tail;
        return out;
    }
};

// Calls visit(field) for each field of the record until it returns false.
template <class Visit>
void forEachQuotedField(QStringView record, QChar q, Visit visit)
{
    if (record.isEmpty())
        return;
    const qsizetype n = record.size();
    qsizetype i = 0;
    while (true) {
        QuotedField f;
        qsizetype comma = -1;
        if (i < n && record.at(i) == q) {
            f.quoted = true;
            const qsizetype begin = i + 1;
            qsizetype close = -1;
            for (qsizetype k = record.indexOf(q, begin); k >= 0; k = record.indexOf(q, k + 2)) {
                if (k + 1 < n && record.at(k + 1) == q) {
                    f.doubled = true;
                    continue;
                }
                close = k;
                break;
            }
            if (close < 0) {
                f.body = record.mid(begin); // never closed: the rest of the text
            } else {
                f.body = record.mid(begin, close - begin);
                comma = record.indexOf(u',', close + 1);
                f.tail = record.mid(close + 1, (comma < 0 ? n : comma) - close - 1);
            }
        } else {
            comma = record.indexOf(u',', i);
            f.body = record.mid(i, (comma < 0 ? n : comma) - i);
        }
        if (!visit(f) || comma < 0)
            return;
        i = comma + 1;
    }
}

} // namespace

int CsvFieldCount(QStringView record, const CsvFormat& format)
{
    if (!format.quoted)
        return CsvFieldCount(record);
    int count = 0;
    forEachQuotedField(record, format.quoteChar(), [&count](const QuotedField&) {
        ++count;
        return true;
    });
    return count;
}

QString CsvField(QStringView record, int n, const CsvFormat& format)
{
    if (!format.quoted)
        return CsvField(record, n, format.textDelimiter);
    QString out = QStringLiteral(" ");
    if (n < 1)
        return out;
    const QChar q = format.quoteChar();
    int i = 0;
    forEachQuotedField(record, q, [&](const QuotedField& f) {
        if (++i < n)
            return true;
        out = f.text(q);
        return false;
    });
    return out;
}

QStringList CsvFields(QStringView record, const CsvFormat& format)
{
    if (!format.quoted)
        return CsvFields(record, format.textDelimiter);
    QStringList out;
    const QChar q = format.quoteChar();
    forEachQuotedField(record, q, [&](const QuotedField& f) {
        out.append(f.text(q));
        return true;
    });
    return out;
}
