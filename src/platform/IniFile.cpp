#include "platform/IniFile.h"

#include "platform/Cp932.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <climits>

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF", 3);

bool isBlankByte(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

QByteArray trimmedBytes(const QByteArray& b)
{
    qsizetype s = 0;
    qsizetype e = b.size();
    while (s < e && isBlankByte(b.at(s)))
        ++s;
    while (e > s && isBlankByte(b.at(e - 1)))
        --e;
    return b.mid(s, e - s);
}

QString trimmedBlanks(const QString& s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    auto blank = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f'; };
    while (b < e && blank(s.at(b)))
        ++b;
    while (e > b && blank(s.at(e - 1)))
        --e;
    return s.mid(b, e - b);
}

// Cuts a value to at most `limit` bytes without splitting a character.
QByteArray limitBytes(const QByteArray& v, qsizetype limit, bool utf8)
{
    if (v.size() <= limit)
        return v;
    qsizetype i = 0;
    while (i < v.size()) {
        const auto b = uchar(v.at(i));
        qsizetype w = 1;
        if (utf8) {
            if (b >= 0xF0)
                w = 4;
            else if (b >= 0xE0)
                w = 3;
            else if (b >= 0xC0)
                w = 2;
        } else if (Cp932::isLeadByte(b) && i + 1 < v.size()) {
            w = 2;
        }
        if (i + w > limit)
            break;
        i += w;
    }
    return v.left(i);
}

QString foldName(const QString& name)
{
    return name.toCaseFolded();
}

} // namespace

bool IniFile::load()
{
    QFile f(m_path);
    if (!f.exists()) {
        setBytes(QByteArray());
        return true;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        setBytes(QByteArray());
        return false;
    }
    setBytes(f.readAll());
    return f.error() == QFileDevice::NoError;
}

void IniFile::setBytes(const QByteArray& bytes)
{
    parse(bytes);
}

void IniFile::parse(const QByteArray& bytesIn)
{
    m_lines.clear();
    m_utf8 = bytesIn.startsWith(kUtf8Bom);
    m_bom = m_utf8 ? kUtf8Bom : QByteArray();
    const QByteArray bytes = m_utf8 ? bytesIn.mid(kUtf8Bom.size()) : bytesIn;

    const char* p = bytes.constData();
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    while (start < n) {
        qsizetype i = start;
        while (i < n && p[i] != '\r' && p[i] != '\n')
            ++i;
        Line line;
        line.raw = bytes.mid(start, i - start);
        if (i < n) {
            if (p[i] == '\r' && i + 1 < n && p[i + 1] == '\n') {
                line.eol = QByteArrayLiteral("\r\n");
                i += 2;
            } else {
                line.eol = QByteArray(1, p[i]);
                i += 1;
            }
        }
        parseLine(line);
        m_lines.push_back(std::move(line));
        start = i;
    }
    reindex();
}

void IniFile::parseLine(Line& line) const
{
    line.kind = Line::Other;
    line.name.clear();
    line.value.clear();
    const QByteArray t = trimmedBytes(line.raw);
    if (t.isEmpty() || t.at(0) == ';')
        return;

    if (t.at(0) == '[') {
        // The closing bracket is looked for in the text, never in the bytes: 0x5D can be
        // the second byte of a two-byte character.
        const QString text = m_utf8 ? QString::fromUtf8(t) : Cp932::decode(t);
        const qsizetype close = text.lastIndexOf(u']');
        if (close > 0) {
            line.kind = Line::Section;
            line.name = trimmedBlanks(text.mid(1, close - 1));
            return;
        }
    }

    // '=' is below 0x40, so it is never part of a two-byte character.
    const qsizetype eq = t.indexOf('=');
    if (eq <= 0)
        return;
    const QByteArray key = trimmedBytes(t.left(eq));
    if (key.isEmpty())
        return;
    QByteArray value = trimmedBytes(t.mid(eq + 1));
    if (value.size() >= 2) {
        const char q = value.at(0);
        if ((q == '"' || q == '\'') && value.at(value.size() - 1) == q)
            value = value.mid(1, value.size() - 2);
    }
    value = limitBytes(value, kMaxValueBytes, m_utf8);
    line.kind = Line::Key;
    line.name = m_utf8 ? QString::fromUtf8(key) : Cp932::decode(key);
    line.value = m_utf8 ? QString::fromUtf8(value) : Cp932::decode(value);
}

void IniFile::reindex()
{
    m_firstSection.clear();
    for (int i = 0; i < m_lines.size(); ++i) {
        const Line& l = m_lines.at(i);
        if (l.kind == Line::Section) {
            const QString f = foldName(l.name);
            if (!m_firstSection.contains(f))
                m_firstSection.insert(f, i);
        }
    }
}

QByteArray IniFile::bytes() const
{
    QByteArray out = m_bom;
    qsizetype total = out.size();
    for (const Line& l : m_lines)
        total += l.raw.size() + l.eol.size();
    out.reserve(total);
    for (const Line& l : m_lines) {
        out += l.raw;
        out += l.eol;
    }
    return out;
}

bool IniFile::isReadOnlyPlace(const QString& path)
{
    // The permission bits are checked as well as the access rights, so that a file
    // marked read-only stays untouched even for the superuser. (The "User" bits are
    // access rights, not permission bits, and are left out.)
    constexpr auto anyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    const QFileInfo fi(path);
    if (fi.exists()) {
        if (!fi.isWritable() || !(fi.permissions() & anyWrite))
            return true;
    }
    const QFileInfo dir(fi.absolutePath());
    if (!dir.exists() || !dir.isDir() || !dir.isWritable() || !(dir.permissions() & anyWrite))
        return true;
    return false;
}

bool IniFile::writeFileAtomically(const QString& path, const QByteArray& bytes)
{
    if (path.isEmpty() || isReadOnlyPlace(path))
        return false;
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

bool IniFile::save() const
{
    return writeFileAtomically(m_path, bytes());
}

int IniFile::findKeyLine(const QString& section, const QString& key) const
{
    const auto it = m_firstSection.constFind(foldName(section));
    if (it == m_firstSection.constEnd())
        return -1;
    for (int i = it.value() + 1; i < m_lines.size(); ++i) {
        const Line& l = m_lines.at(i);
        if (l.kind == Line::Section)
            break;
        if (l.kind == Line::Key && l.name.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

const IniFile::Line* IniFile::findKey(const QString& section, const QString& key) const
{
    const int i = findKeyLine(section, key);
    return i < 0 ? nullptr : &m_lines.at(i);
}

bool IniFile::hasSection(const QString& section) const
{
    return m_firstSection.contains(foldName(section));
}

bool IniFile::hasKey(const QString& section, const QString& key) const
{
    return findKey(section, key) != nullptr;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const
{
    const Line* l = findKey(section, key);
    return l ? l->value : def;
}

int IniFile::readInteger(const QString& section, const QString& key, int def) const
{
    const Line* l = findKey(section, key);
    int v = 0;
    if (l && parseInteger(l->value, &v))
        return v;
    return def;
}

bool IniFile::readBool(const QString& section, const QString& key, bool def) const
{
    return readInteger(section, key, def ? 1 : 0) != 0;
}

double IniFile::readFloat(const QString& section, const QString& key) const
{
    const Line* l = findKey(section, key);
    double v = 0;
    if (l && parseFloat(l->value, &v))
        return v;
    return 0;
}

bool IniFile::parseInteger(const QString& text, int* value)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    bool negative = false;
    if (i < n && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    int base = 10;
    if (i + 1 < n && text.at(i) == u'0' && (text.at(i + 1) == u'x' || text.at(i + 1) == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= n)
        return false;
    qint64 acc = 0;
    for (; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        int d;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        else
            return false;
        acc = acc * base + d;
        if (acc > qint64(INT_MAX) + 1)
            return false;
    }
    if (negative)
        acc = -acc;
    if (acc > INT_MAX || acc < INT_MIN)
        return false;
    *value = int(acc);
    return true;
}

bool IniFile::parseFloat(const QString& text, double* value)
{
    // Plain decimal notation with an optional exponent; no group separators, no
    // "inf" or "nan".
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto digit = [&](qsizetype k) { return k < n && text.at(k) >= u'0' && text.at(k) <= u'9'; };
    if (i < n && (text.at(i) == u'+' || text.at(i) == u'-'))
        ++i;
    int digits = 0;
    while (digit(i)) {
        ++i;
        ++digits;
    }
    if (i < n && text.at(i) == u'.') {
        ++i;
        while (digit(i)) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < n && (text.at(i) == u'e' || text.at(i) == u'E')) {
        ++i;
        if (i < n && (text.at(i) == u'+' || text.at(i) == u'-'))
            ++i;
        if (!digit(i))
            return false;
        while (digit(i))
            ++i;
    }
    if (i != n)
        return false;
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !qIsFinite(v))
        return false;
    *value = v;
    return true;
}

QString IniFile::formatFloat(double value)
{
    if (value == 0 || !qIsFinite(value))
        return QStringLiteral("0");
    return QString::number(value, 'g', 15);
}

bool IniFile::encodeText(const QString& text, QByteArray* out) const
{
    if (m_utf8) {
        *out = text.toUtf8();
        return true;
    }
    return Cp932::encode(text, out);
}

QByteArray IniFile::defaultEol() const
{
    for (const Line& l : m_lines) {
        if (!l.eol.isEmpty())
            return l.eol;
    }
    return QByteArrayLiteral("\r\n");
}

void IniFile::deleteKey(const QString& section, const QString& key)
{
    bool removed = false;
    for (int line = findKeyLine(section, key); line >= 0; line = findKeyLine(section, key)) {
        m_lines.removeAt(line);
        removed = true;
    }
    if (removed)
        reindex();
}

bool IniFile::writeString(const QString& section, const QString& key, const QString& valueIn)
{
    QString value = valueIn;
    for (QChar& c : value) {
        if (c == u'\r' || c == u'\n' || c == QChar(0))
            c = u' ';
    }
    QByteArray valueBytes;
    if (!encodeText(value, &valueBytes))
        return false;

    const int existing = findKeyLine(section, key);
    if (existing >= 0) {
        Line& l = m_lines[existing];
        // Keep the key as the file spells it; replace only what follows "=".
        const QByteArray t = trimmedBytes(l.raw);
        const QByteArray keyBytes = trimmedBytes(t.left(t.indexOf('=')));
        l.raw = keyBytes + '=' + valueBytes;
        parseLine(l);
        return true;
    }

    QByteArray keyBytes;
    if (!encodeText(key, &keyBytes))
        return false;
    const QByteArray eol = defaultEol();
    Line newLine;
    newLine.raw = keyBytes + '=' + valueBytes;
    newLine.eol = eol;
    parseLine(newLine);

    const auto it = m_firstSection.constFind(foldName(section));
    if (it != m_firstSection.constEnd()) {
        // After the last line of the section that holds anything, so that blank lines
        // separating it from the next section stay where they are.
        int insertAfter = it.value();
        for (int i = it.value() + 1; i < m_lines.size() && m_lines.at(i).kind != Line::Section; ++i) {
            if (!trimmedBytes(m_lines.at(i).raw).isEmpty())
                insertAfter = i;
        }
        if (m_lines[insertAfter].eol.isEmpty())
            m_lines[insertAfter].eol = eol;
        m_lines.insert(insertAfter + 1, std::move(newLine));
        // The sections after it moved down by one line (a whole reindex per key would make a
        // save into a file that lacks most keys quadratic).
        for (auto s = m_firstSection.begin(); s != m_firstSection.end(); ++s) {
            if (s.value() > insertAfter)
                ++s.value();
        }
        if (m_lines.at(insertAfter + 1).kind == Line::Section)
            reindex(); // a key name that reads as a section line
        return true;
    }

    QByteArray sectionBytes;
    if (!encodeText(QLatin1Char('[') + section + QLatin1Char(']'), &sectionBytes))
        return false;
    if (!m_lines.isEmpty() && m_lines.last().eol.isEmpty())
        m_lines.last().eol = eol;
    Line header;
    header.raw = sectionBytes;
    header.eol = eol;
    parseLine(header);
    // No section of this name exists (it would have been found): the new one is the first.
    if (header.kind == Line::Section && !m_firstSection.contains(foldName(header.name)))
        m_firstSection.insert(foldName(header.name), int(m_lines.size()));
    m_lines.push_back(std::move(header));
    m_lines.push_back(std::move(newLine));
    if (m_lines.last().kind == Line::Section)
        reindex();
    return true;
}

void IniFile::writeInteger(const QString& section, const QString& key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::writeFloat(const QString& section, const QString& key, double value)
{
    writeString(section, key, formatFloat(value));
}
