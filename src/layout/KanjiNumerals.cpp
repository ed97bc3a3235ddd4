#include "layout/KanjiNumerals.h"

namespace KanjiNumerals {

namespace {

const char16_t kKanjiDigits[] = u"〇一二三四五六七八九";
constexpr char16_t kTen = u'十';
constexpr char16_t kNo = u'の';

// ASCII or full-width digit: its value, else -1.
int digitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= 0xFF10 && u <= 0xFF19)
        return u - 0xFF10;
    return -1;
}

bool isHyphenLike(QChar c)
{
    switch (c.unicode()) {
    case 0x002D: // -
    case 0x2010: // ‐
    case 0x2011: // ‑
    case 0x2012: // ‒
    case 0x2013: // –
    case 0x2014: // —
    case 0x2015: // ―
    case 0x2212: // −
    case 0xFF0D: // －
    case 0x30FC: // ー
    case 0xFF70: // ｰ
        return true;
    default:
        return false;
    }
}

// A number on either side of a hyphen: a digit, or a numeral already written in kanji.
bool isNumberChar(QChar c)
{
    if (digitValue(c) >= 0)
        return true;
    switch (c.unicode()) {
    case u'〇': case u'一': case u'二': case u'三': case u'四': case u'五':
    case u'六': case u'七': case u'八': case u'九': case u'十': case u'百': case u'千':
        return true;
    default:
        return false;
    }
}

// ASCII letters, also in their full-width forms, folded to lower case; 0 for anything else.
char16_t latinLower(QChar c)
{
    char16_t u = c.unicode();
    if (u >= 0xFF21 && u <= 0xFF3A)
        u = u - 0xFF21 + u'A';
    else if (u >= 0xFF41 && u <= 0xFF5A)
        u = u - 0xFF41 + u'a';
    if (u >= u'A' && u <= u'Z')
        return u - u'A' + u'a';
    if (u >= u'a' && u <= u'z')
        return u;
    return 0;
}

bool isSpace(QChar c)
{
    return c == QLatin1Char(' ') || c.unicode() == 0x3000;
}

// Where the text at `i` begins a prefix whose number is kept as written ("〒", "Tel", "FAX",
// "電話", "℡"), the end of the prefix; else -1. A Latin prefix must start a word.
int prefixEnd(const QString& t, int i)
{
    const int n = int(t.size());
    const char16_t u = t.at(i).unicode();
    if (u == u'〒' || u == u'℡')
        return i + 1;
    if (u == u'電' && i + 1 < n && t.at(i + 1).unicode() == u'話')
        return i + 2;
    if (i > 0 && latinLower(t.at(i - 1)) != 0)
        return -1;
    for (const char* word : { "tel", "fax" }) {
        int k = 0;
        while (word[k] && i + k < n && latinLower(t.at(i + k)) == char16_t(word[k]))
            ++k;
        if (!word[k] && (i + k >= n || latinLower(t.at(i + k)) == 0))
            return i + k;
    }
    return -1;
}

// After a prefix: separators, then the number with its hyphens and brackets.
int keptNumberEnd(const QString& t, int i)
{
    const int n = int(t.size());
    while (i < n && (isSpace(t.at(i)) || t.at(i) == QLatin1Char('.') || t.at(i) == QLatin1Char(':')
                     || t.at(i).unicode() == u'：' || t.at(i).unicode() == u'．'))
        ++i;
    while (i < n) {
        const QChar c = t.at(i);
        const char16_t u = c.unicode();
        if (digitValue(c) < 0 && !isHyphenLike(c) && u != u'(' && u != u')' && u != u'（' && u != u'）')
            break;
        ++i;
    }
    return i;
}

} // namespace

Style styleFrom(int stored)
{
    switch (stored) {
    case 1:
        return Style::Digits;
    case 2:
        return Style::Tens;
    default:
        return Style::None;
    }
}

Hyphen hyphenFrom(int stored)
{
    return stored == 1 ? Hyphen::No : Hyphen::Line;
}

QString number(QStringView digits, Style style)
{
    QString out;
    out.reserve(digits.size());
    // Two digits without a leading zero are a number from 10 to 99.
    if (style == Style::Tens && digits.size() == 2 && digits.at(0) != QLatin1Char('0')) {
        const int tens = digits.at(0).unicode() - u'0';
        const int ones = digits.at(1).unicode() - u'0';
        if (tens > 1)
            out += QChar(kKanjiDigits[tens]);
        out += QChar(kTen);
        if (ones > 0)
            out += QChar(kKanjiDigits[ones]);
        return out;
    }
    for (QChar c : digits)
        out += QChar(kKanjiDigits[c.unicode() - u'0']);
    return out;
}

QString convert(const QString& text, Style style, Hyphen hyphen)
{
    if (style == Style::None)
        return text;
    const int n = int(text.size());
    QString out;
    out.reserve(n);
    QString digits;
    int i = 0;
    while (i < n) {
        const QChar c = text.at(i);
        const int kept = prefixEnd(text, i);
        if (kept >= 0) {
            const int end = keptNumberEnd(text, kept);
            out += QStringView(text).mid(i, end - i);
            i = end;
            continue;
        }
        if (digitValue(c) >= 0) {
            digits.clear();
            while (i < n && digitValue(text.at(i)) >= 0)
                digits += QChar(char16_t(u'0' + digitValue(text.at(i++))));
            out += number(digits, style);
            continue;
        }
        if (isHyphenLike(c) && i > 0 && i + 1 < n && isNumberChar(text.at(i - 1)) && isNumberChar(text.at(i + 1))) {
            out += QChar(hyphen == Hyphen::No ? kNo : kVerticalLine);
            ++i;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

} // namespace KanjiNumerals
