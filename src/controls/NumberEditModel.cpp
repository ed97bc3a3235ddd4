#include "controls/NumberEditModel.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace {

constexpr QChar kDot = NumberEditModel::kDecimalSeparator;
constexpr QChar kComma = NumberEditModel::kThousandSeparator;

bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool isHexDigit(QChar c)
{
    return isAsciiDigit(c) || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}
bool isAsciiLetter(QChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
bool isControl(QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; }
bool isSign(QChar c) { return c == u'+' || c == u'-'; }
bool startsWithSign(const QString& s) { return !s.isEmpty() && isSign(s.at(0)); }

QString withoutSeparatorsAndControls(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (c != kComma && !isControl(c))
            out += c;
    return out;
}

// Adds one to the magnitude of an integer text, keeping its sign ("-9" -> "-10", "" -> "1").
QString incrementMagnitude(const QString& integerPart)
{
    const int signLength = startsWithSign(integerPart) ? 1 : 0;
    QString digits = integerPart.mid(signLength);
    int i = digits.size() - 1;
    for (; i >= 0; --i) {
        if (digits[i] == u'9') {
            digits[i] = u'0';
            continue;
        }
        if (isAsciiDigit(digits[i]))
            digits[i] = QChar(digits[i].unicode() + 1);
        break;
    }
    if (i < 0)
        digits.prepend(u'1');
    return integerPart.left(signLength) + digits;
}

// Reads [sign] digits [. digits] [exponent]; a separator at either end of the digits is fine.
std::optional<double> readReal(const QString& text)
{
    static const QRegularExpression grammar(
        QStringLiteral("^([+-]?)(\\d*)\\.?(\\d*)([eE][+-]?\\d+)?$"));
    const auto m = grammar.match(text);
    if (!m.hasMatch() || (m.capturedLength(2) == 0 && m.capturedLength(3) == 0))
        return std::nullopt;
    QString normal = m.captured(1) + (m.capturedLength(2) ? m.captured(2) : QStringLiteral("0"));
    if (m.capturedLength(3))
        normal += QLatin1Char('.') + m.captured(3);
    normal += m.captured(4);
    bool ok = false;
    const double v = normal.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v == 0 ? 0.0 : v; // no negative zero
}

// Reads [sign] digits as a 64-bit integer; digits beyond that range are read as a real
// rather than refused.
std::optional<double> readInteger(const QString& text)
{
    const int signLength = startsWithSign(text) ? 1 : 0;
    if (text.size() == signLength)
        return std::nullopt;
    quint64 magnitude = 0;
    bool overflow = false;
    for (int i = signLength; i < text.size(); ++i) {
        if (!isAsciiDigit(text[i]))
            return std::nullopt;
        const quint64 d = text[i].unicode() - u'0';
        if (magnitude > (std::numeric_limits<quint64>::max() - d) / 10)
            overflow = true;
        else
            magnitude = magnitude * 10 + d;
    }
    const bool negative = signLength && text[0] == u'-';
    const quint64 limit = negative ? quint64(1) << 63 : (quint64(1) << 63) - 1;
    if (overflow || magnitude > limit)
        return readReal(text);
    if (magnitude == 0)
        return 0.0;
    return negative ? -double(magnitude) : double(magnitude);
}

std::optional<quint64> readHex(const QString& text, int bits)
{
    if (text.isEmpty())
        return std::nullopt;
    const quint64 limit = bits >= 64 ? std::numeric_limits<quint64>::max()
                                     : (quint64(1) << bits) - 1;
    quint64 v = 0;
    for (QChar c : text) {
        if (!isHexDigit(c))
            return std::nullopt;
        const int d = isAsciiDigit(c) ? c.unicode() - u'0' : (c.toUpper().unicode() - u'A' + 10);
        if (v > (limit - quint64(d)) / 16)
            return std::nullopt;
        v = v * 16 + quint64(d);
    }
    return v;
}

qint64 saturateToInt64(double v)
{
    if (v >= 9223372036854775807.0)
        return std::numeric_limits<qint64>::max();
    if (v <= -9223372036854775808.0)
        return std::numeric_limits<qint64>::min();
    return qint64(v);
}

qint32 saturateToInt32(qint64 v)
{
    return qint32(qBound(qint64(std::numeric_limits<qint32>::min()), v,
                         qint64(std::numeric_limits<qint32>::max())));
}

// A whole number from a value, dropping its decimals by the rounding mode.
qint64 roundedInteger(double v, TRoundMode mode)
{
    QString s = NumberEditModel::roundText(NumberEditModel::generalText(v), 0, mode);
    if (s.endsWith(kDot))
        s.chop(1);
    const auto d = NumberEditModel::parse(s, ntDecimal, false);
    return d ? saturateToInt64(*d) : 0;
}

// "-0", "-0.00": the sign of a zero is noise left by rounding.
QString withoutNegativeZero(const QString& s)
{
    if (!s.startsWith(u'-'))
        return s;
    for (int i = 1; i < s.size(); ++i)
        if (s[i] != u'0' && s[i] != kDot && s[i] != kComma)
            return s;
    return s.mid(1);
}

} // namespace

NumberEditModel::NumberEditModel() = default;

QString NumberEditModel::generalText(double value)
{
    if (!std::isfinite(value) || value == 0)
        return QStringLiteral("0");
    const QString e = QString::number(std::fabs(value), 'e', 14); // d.dddddddddddddde+XX
    const int ePos = e.indexOf(u'e');
    QString digits = e.left(ePos);
    digits.remove(kDot);
    const int exponent = e.mid(ePos + 1).toInt();
    while (digits.size() > 1 && digits.endsWith(u'0'))
        digits.chop(1);
    QString out;
    if (exponent >= 0) {
        if (digits.size() <= exponent + 1)
            out = digits + QString(exponent + 1 - digits.size(), u'0');
        else
            out = digits.left(exponent + 1) + kDot + digits.mid(exponent + 1);
    } else {
        out = QStringLiteral("0.") + QString(-exponent - 1, u'0') + digits;
    }
    if (value < 0)
        out.prepend(u'-');
    return out;
}

QString NumberEditModel::roundText(const QString& text, int figure, TRoundMode mode)
{
    const QString t = withoutSeparatorsAndControls(text);
    const int sep = t.indexOf(kDot);
    if (figure < 0 || sep < 0 || sep == t.size() - 1 || t.size() - sep - 1 <= figure)
        return t;
    QString integerPart = t.left(sep);
    QString kept = t.mid(sep + 1, figure);
    const QString dropped = t.mid(sep + 1 + figure);

    bool carry = false;
    switch (mode) {
    case rmDown:
        break;
    case rmRound:
        carry = dropped[0] >= u'5' && dropped[0] <= u'9';
        break;
    case rmUp:
        for (QChar c : dropped)
            carry = carry || c != u'0';
        break;
    }
    for (int i = kept.size() - 1; carry && i >= 0; --i) {
        if (kept[i] == u'9') {
            kept[i] = u'0';
        } else {
            if (isAsciiDigit(kept[i]))
                kept[i] = QChar(kept[i].unicode() + 1);
            carry = false;
        }
    }
    if (carry)
        integerPart = incrementMagnitude(integerPart);
    return integerPart + kDot + kept;
}

QString NumberEditModel::groupThousands(const QString& text)
{
    const QString t = QString(text).remove(kComma);
    const int signLength = startsWithSign(t) ? 1 : 0;
    int end = t.indexOf(kDot);
    if (end < 0)
        end = t.size();
    QString digits = t.mid(signLength, end - signLength);
    for (QChar c : digits)
        if (!isAsciiDigit(c))
            return text; // not a plain number: leave it to the parser to complain
    if (digits.isEmpty())
        return t;
    int lead = 0;
    while (lead < digits.size() - 1 && digits[lead] == u'0')
        ++lead;
    digits = digits.mid(lead);
    QString grouped;
    for (int i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += kComma;
        grouped += digits[i];
    }
    return t.left(signLength) + grouped + t.mid(end);
}

std::optional<double> NumberEditModel::parse(const QString& text, TNumberType type, bool validMinus)
{
    if (text.isEmpty() || text == QLatin1String("-") || text == QLatin1String("+"))
        return 0.0;
    if (type == ntHex) {
        if (validMinus) {
            const bool negative = text.startsWith(u'-');
            const auto u = readHex(negative ? text.mid(1) : text, 64);
            if (!u)
                return std::nullopt;
            const double v = double(qint64(*u));
            return negative && v != 0 ? -v : v;
        }
        const auto u = readHex(text, 32);
        if (!u)
            return std::nullopt;
        return double(qint32(quint32(*u)));
    }
    QString t = withoutSeparatorsAndControls(text);
    if (t.isEmpty())
        return 0.0;
    if (t.contains(kDot)) {
        if (isAsciiLetter(t.back()))
            t.chop(1);
        return readReal(t);
    }
    return readInteger(t);
}

double NumberEditModel::clamped(double v) const
{
    if (!m_limit)
        return v;
    if ((m_limitOptions & loMin) && v < m_min)
        v = m_min;
    if ((m_limitOptions & loMax) && v > m_max)
        v = m_max;
    return v;
}

QString NumberEditModel::decimalDisplay()
{
    m_value = clamped(m_value);
    const bool plus = m_text.startsWith(u'+');
    QString s = roundText(generalText(m_value), m_figure, m_roundMode);
    if (m_comma)
        s = groupThousands(s);
    if (m_figure >= 0 && m_fixed) {
        const int sep = s.indexOf(kDot);
        if (sep < 0) {
            if (m_figure >= 1)
                s += kDot + QString(m_figure, u'0');
        } else if (m_figure == 0) {
            s.truncate(sep);
        } else {
            const int decimals = s.size() - sep - 1;
            if (decimals < m_figure)
                s += QString(m_figure - decimals, u'0');
            else
                s.truncate(sep + 1 + m_figure);
        }
    }
    if (s.endsWith(kDot))
        s.chop(1);
    s = withoutNegativeZero(s);
    if (plus && !s.startsWith(u'-'))
        s.prepend(u'+');
    if (const auto v = parse(s, ntDecimal, false))
        m_value = *v;
    if (m_value == 0 && !m_zeroVisible)
        s.clear();
    return s;
}

QString NumberEditModel::hexDisplay()
{
    const qint64 n = roundedInteger(m_value, m_roundMode);
    const int digits = qMax(m_figure, 1);
    QString s;
    if (m_validMinus) {
        m_value = double(n);
        const quint64 magnitude = n < 0 ? quint64(0) - quint64(n) : quint64(n);
        s = QString::number(magnitude, 16).toUpper().rightJustified(digits, u'0');
        if (n < 0)
            s.prepend(u'-');
    } else {
        const qint32 n32 = saturateToInt32(n);
        m_value = double(n32);
        s = QString::number(quint32(n32), 16).toUpper().rightJustified(digits, u'0');
    }
    if (m_value == 0 && !m_zeroVisible)
        s.clear();
    return s;
}

QString NumberEditModel::displayText()
{
    return m_numberType == ntHex ? hexDisplay() : decimalDisplay();
}

void NumberEditModel::assignText(const QString& text, int cursor, bool runChange)
{
    if (text == m_text) {
        m_cursor = qBound(0, cursor, m_text.size());
        return;
    }
    m_text = text;
    m_cursor = qBound(0, cursor, m_text.size());
    if (runChange)
        changeHandling();
}

void NumberEditModel::reshow(bool runChange)
{
    const QString s = displayText();
    assignText(s, s.size(), runChange);
}

void NumberEditModel::changeHandling()
{
    const QString t = m_text;
    if (t.isEmpty() || t == QLatin1String("-") || t == QLatin1String("+")) {
        m_value = 0;
        return;
    }
    const auto parsed = parse(t, m_numberType, m_validMinus);
    if (!parsed) {
        if (onConversionError)
            onConversionError(t);
        return;
    }
    m_value = *parsed;
    if (m_numberType == ntDecimal) {
        if (m_comma) {
            const QString grouped = groupThousands(t);
            if (grouped != t) {
                // Keep the caret in front of the same characters: separators come and go,
                // the characters to its right do not.
                int right = 0;
                for (int i = m_cursor; i < t.size(); ++i)
                    right += t[i] != kComma;
                int pos = grouped.size();
                for (int seen = 0; pos > 0 && seen < right; --pos)
                    seen += grouped[pos - 1] != kComma;
                m_text = grouped;
                m_cursor = pos;
            }
        }
        if (const auto rounded = parse(roundText(m_text, m_figure, m_roundMode), ntDecimal, false))
            m_value = *rounded;
    }
    m_value = clamped(m_value);
    if (onChange)
        onChange();
}

void NumberEditModel::textEdited(const QString& text, int cursor)
{
    if (text == m_text) {
        m_cursor = qBound(0, cursor, m_text.size());
        return;
    }
    assignText(text, cursor, true);
}

void NumberEditModel::setValue(double value)
{
    if (!std::isfinite(value))
        return;
    m_value = clamped(value);
    reshow(true);
}

void NumberEditModel::setNumberType(TNumberType type)
{
    if (type == m_numberType)
        return;
    m_numberType = type;
    if (type == ntDecimal) {
        const QString s = generalText(m_value);
        assignText(s, s.size(), true);
    } else {
        m_value = saturateToInt32(roundedInteger(m_value, m_roundMode));
        reshow(true);
    }
}

void NumberEditModel::setFigure(int figure)
{
    m_figure = figure;
    reshow(true);
}

void NumberEditModel::setFixed(bool fixed)
{
    m_fixed = fixed;
    reshow(true);
}

void NumberEditModel::setComma(bool comma)
{
    m_comma = comma;
    reshow(false);
}

void NumberEditModel::setLimit(bool limit)
{
    m_limit = limit;
    m_value = clamped(m_value);
    reshow(true);
}

void NumberEditModel::setLimitOptions(TLimitOptions options)
{
    m_limitOptions = options;
    m_value = clamped(m_value);
    reshow(true);
}

void NumberEditModel::setMax(double max)
{
    if (!std::isfinite(max))
        return;
    m_max = max;
    if (m_max < m_min)
        m_min = m_max;
    if (m_limit && (m_limitOptions & loMax) && m_value > m_max) {
        m_value = m_max;
        reshow(true);
    }
}

void NumberEditModel::setMin(double min)
{
    if (!std::isfinite(min))
        return;
    m_min = min;
    if (m_min > m_max)
        m_max = m_min;
    if (m_limit && (m_limitOptions & loMin) && m_value < m_min) {
        m_value = m_min;
        reshow(true);
    }
}

void NumberEditModel::setValidMinus(bool valid)
{
    m_validMinus = valid;
    if (m_numberType == ntHex)
        reshow(true);
}

void NumberEditModel::setZeroVisible(bool visible)
{
    m_zeroVisible = visible;
    const auto v = parse(m_text, m_numberType, m_validMinus);
    if (v && *v == 0)
        reshow(true);
}

bool NumberEditModel::digitFits(const QString& text, int caret) const
{
    if (m_maxIntLength <= 0)
        return true;
    const int sep = text.indexOf(kDot);
    const QString integerPart = sep < 0 ? text : text.left(sep);
    int digits = 0;
    for (QChar c : integerPart)
        digits += isAsciiDigit(c);
    return digits < m_maxIntLength || (sep >= 0 && caret > sep);
}

NumberEditModel::KeyAction NumberEditModel::toggleSign(QChar sign, int selStart, int selLength)
{
    QString t = m_text;
    int caret = selStart;
    if (selLength > 0 && selStart == 0) {
        t.remove(0, selLength);
        caret = 0;
    }
    const QChar first = t.isEmpty() ? QChar() : t[0];
    if (sign == u'-') {
        if (first == u'-') {
            t.remove(0, 1);
            --caret;
        } else if (first == u'+') {
            t[0] = u'-';
        } else {
            t.prepend(u'-');
            ++caret;
        }
    } else if (m_numberType == ntHex) {
        if (first == u'-') {
            t.remove(0, 1);
            --caret;
        }
    } else {
        if (first == u'+') {
            t.remove(0, 1);
            --caret;
        } else if (first == u'-') {
            t[0] = u'+';
        } else {
            t.prepend(u'+');
            ++caret;
        }
    }
    caret = qMax(0, caret);
    m_typed = true;
    assignText(t, caret, true);
    m_cursor = qBound(0, caret, m_text.size());
    return KeyAction::Done;
}

NumberEditModel::KeyAction NumberEditModel::keyPress(QChar ch, bool ctrl, int selStart, int selLength)
{
    selStart = qBound(0, selStart, int(m_text.size()));
    selLength = qBound(0, selLength, int(m_text.size()) - selStart);
    if (m_readOnly)
        return ctrl || isControl(ch) ? KeyAction::Pass : KeyAction::Refuse;
    if (ctrl || isControl(ch)) {
        // Backspace, Tab, Enter, Delete and the Ctrl shortcuts count as typing; other
        // control keys (Escape) only pass through to the dialog.
        if (ctrl || ch == u'\b' || ch == u'\t' || ch == u'\r' || ch.unicode() == 0x7f)
            m_typed = true;
        return KeyAction::Pass;
    }
    QString rest = m_text;
    rest.remove(selStart, selLength); // the text the character will land in
    if (m_numberType == ntDecimal) {
        if (isSign(ch))
            return toggleSign(ch, selStart, selLength);
        if (isAsciiDigit(ch)) {
            if (!digitFits(rest, selStart))
                return KeyAction::Refuse;
        } else if (ch == kDot) {
            if (rest.contains(kDot))
                return KeyAction::Refuse;
        } else {
            return KeyAction::Refuse;
        }
        m_typed = true;
        return KeyAction::Pass;
    }
    if (isHexDigit(ch)) {
        m_typed = true;
        return KeyAction::Pass;
    }
    if ((ch == u'-' && m_validMinus) || (ch == u'+' && m_text.startsWith(u'-')))
        return toggleSign(ch, selStart, selLength);
    return KeyAction::Refuse;
}

bool NumberEditModel::paste(const QString& clip, int selStart, int selLength)
{
    if (m_readOnly || clip.isEmpty())
        return false;
    selStart = qBound(0, selStart, int(m_text.size()));
    selLength = qBound(0, selLength, int(m_text.size()) - selStart);
    QString t = m_text;
    t.remove(selStart, selLength);
    int p = selStart;
    for (int i = p; i < t.size(); ++i)
        if (isSign(t[i]))
            return false; // nothing may go in front of a sign
    for (int i = 0; i < clip.size(); ++i) {
        const QChar c = clip[i];
        const bool signAllowed = i == 0 && p == 0 && !startsWithSign(t);
        bool take = false;
        if (m_numberType == ntHex)
            take = isHexDigit(c) || (c == u'-' && m_validMinus && signAllowed);
        else if (isAsciiDigit(c))
            take = digitFits(t, p);
        else if (c == kDot)
            take = !t.contains(kDot);
        else if (isSign(c))
            take = signAllowed;
        if (take)
            t.insert(p++, c);
    }
    m_typed = true;
    assignText(t, p, true);
    return true;
}

void NumberEditModel::enter()
{
    m_typed = false;
}

bool NumberEditModel::leave()
{
    // An unreadable text was reported when it was typed; the old value stands.
    if (const auto v = parse(m_text, m_numberType, m_validMinus))
        m_value = *v;
    const QString s = displayText();
    assignText(s, s.size(), false);
    return m_typed;
}
