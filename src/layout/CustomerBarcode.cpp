#include "layout/CustomerBarcode.h"

#include "platform/LCMap.h"

#include <QtGlobal>
#include <array>

namespace CustomerBarcode {

namespace {

using B = Bar;

// The manual's bar patterns of the 19 character values: 0-9, "-", CC1-CC8.
const std::array<std::array<Bar, 3>, 19> kPatterns = { {
    { B::Long, B::Timing, B::Timing },  // 0
    { B::Long, B::Long, B::Timing },    // 1
    { B::Long, B::Lower, B::Upper },    // 2
    { B::Lower, B::Long, B::Upper },    // 3
    { B::Long, B::Upper, B::Lower },    // 4
    { B::Long, B::Timing, B::Long },    // 5
    { B::Lower, B::Upper, B::Long },    // 6
    { B::Upper, B::Long, B::Lower },    // 7
    { B::Upper, B::Lower, B::Long },    // 8
    { B::Timing, B::Long, B::Long },    // 9
    { B::Timing, B::Long, B::Timing },  // -
    { B::Lower, B::Upper, B::Timing },  // CC1
    { B::Lower, B::Timing, B::Upper },  // CC2
    { B::Upper, B::Lower, B::Timing },  // CC3
    { B::Timing, B::Lower, B::Upper },  // CC4
    { B::Upper, B::Timing, B::Lower },  // CC5
    { B::Timing, B::Upper, B::Lower },  // CC6
    { B::Timing, B::Timing, B::Long },  // CC7
    { B::Long, B::Long, B::Long },      // CC8
} };
const std::array<Bar, 2> kStart = { B::Long, B::Lower };
const std::array<Bar, 2> kStop = { B::Lower, B::Long };

constexpr char16_t kBlankMark = u' ';

bool isDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

bool isLetter(QChar c)
{
    return c.unicode() >= u'A' && c.unicode() <= u'Z';
}

bool isDash(char16_t c)
{
    switch (c) {
    case u'-':
    case 0x2010: case 0x2011: case 0x2012: case 0x2013: case 0x2014: case 0x2015: // dashes
    case 0x2212: // minus sign
    case 0x30FC: case 0xFF70: // prolonged sound mark, often typed for a hyphen in addresses
    case 0xFE63:
        return true;
    default:
        return false;
    }
}

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == 0x3000 || c == 0x00A0;
}

// Half-width, upper case, blanks as one mark, dashes as "-".
QString simplify(const QString& text)
{
    const QString mapped = LCMap::map(text, LCMap::HalfWidth | LCMap::UpperCase);
    QString out;
    out.reserve(mapped.size());
    for (QChar c : mapped) {
        if (isBlank(c.unicode()))
            out.append(QChar(kBlankMark));
        else if (isDash(c.unicode()))
            out.append(QLatin1Char('-'));
        else
            out.append(c);
    }
    return out;
}

int digitRun(const QString& s, int from)
{
    int i = from;
    while (i < s.size() && isDigit(s[i]))
        ++i;
    return i - from;
}

} // namespace

QString normalize(const QString& text, Problem* problem)
{
    auto fail = [problem](Problem p, const QString& soFar) {
        if (problem)
            *problem = p;
        return soFar;
    };
    const QString s = simplify(text);
    int i = 0;
    auto skipBlanks = [&] {
        while (i < s.size() && s[i] == QChar(kBlankMark))
            ++i;
    };
    skipBlanks();
    if (i < s.size() && s[i] == QChar(0x3012)) { // 〒
        ++i;
        skipBlanks();
    }
    if (i == s.size())
        return fail(Problem::Empty, QString());

    // The postal code: 3 digits, a hyphen and 4 digits, or 7 digits. A longer run of digits
    // goes on with the address number (1000013 + 1-3-2 written together, as the manual writes
    // barcode data), unless a blank follows it: then it is a postal code of the wrong length.
    auto postalRun = [&s](int from, int need) {
        const int run = digitRun(s, from);
        const bool blankAfter = from + run < s.size() && s[from + run] == QChar(kBlankMark);
        return run == need || (run > need && !blankAfter);
    };
    QString postal;
    if (digitRun(s, i) == 3 && i + 3 < s.size() && s[i + 3] == QLatin1Char('-') && postalRun(i + 4, 4)) {
        postal = s.mid(i, 3) + s.mid(i + 4, 4);
        i += 8;
    } else if (postalRun(i, 7)) {
        postal = s.mid(i, 7);
        i += 7;
    } else {
        return fail(Problem::PostalCode, QString());
    }

    // The hyphens and blanks joining the postal code to the address number are left out.
    while (i < s.size() && (s[i] == QChar(kBlankMark) || s[i] == QLatin1Char('-')))
        ++i;
    QString data = postal;
    for (; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == QChar(kBlankMark))
            continue;
        if (!isDigit(c) && !isLetter(c) && c != QLatin1Char('-'))
            return fail(Problem::Character, data);
        data.append(c);
    }
    if (problem)
        *problem = Problem::None;
    return data;
}

int checkValue(const QVector<int>& values)
{
    int sum = 0;
    for (int v : values)
        sum += v;
    return (19 - sum % 19) % 19;
}

Symbol encode(const QString& text)
{
    Symbol symbol;
    symbol.data = normalize(text, &symbol.problem);
    if (!symbol.isValid())
        return symbol;

    QVector<int>& v = symbol.values;
    v.reserve(kDataLength + 1);
    for (QChar c : symbol.data) {
        if (v.size() == kDataLength)
            break;
        if (isDigit(c)) {
            v.push_back(c.unicode() - u'0');
        } else if (c == QLatin1Char('-')) {
            v.push_back(kHyphen);
        } else {
            // A letter is a control code (CC1 for A-J, CC2 for K-T, CC3 for U-Z) and a digit;
            // when the control code takes the last place, only it is kept.
            const int index = c.unicode() - u'A';
            v.push_back(kCC1 + index / 10);
            if (v.size() < kDataLength)
                v.push_back(index % 10);
        }
    }
    while (v.size() < kDataLength)
        v.push_back(kCC4);
    v.push_back(checkValue(v));

    symbol.bars.reserve(kBarCount);
    symbol.bars << kStart[0] << kStart[1];
    for (int value : v) {
        for (Bar b : kPatterns[value])
            symbol.bars.push_back(b);
    }
    symbol.bars << kStop[0] << kStop[1];
    return symbol;
}

int points(int fontSize)
{
    return qBound(8, fontSize <= 0 ? 9 : fontSize, 11);
}

Size size(int fontSize)
{
    Size s;
    const double a = points(fontSize);
    s.points = int(a);
    s.barWidth = 0.6 * a;
    s.pitch = 1.2 * a;
    s.longBar = 3.6 * a;
    s.semiLongBar = 2.4 * a;
    s.timingBar = 1.2 * a;
    return s;
}

double Size::barTop(Bar bar) const
{
    switch (bar) {
    case Bar::Lower:
        return longBar - semiLongBar;
    case Bar::Timing:
        return (longBar - timingBar) / 2;
    default:
        return 0;
    }
}

double Size::barLength(Bar bar) const
{
    switch (bar) {
    case Bar::Long:
        return longBar;
    case Bar::Timing:
        return timingBar;
    default:
        return semiLongBar;
    }
}

QString describe(Problem problem)
{
    switch (problem) {
    case Problem::None:
        return QString();
    case Problem::Empty:
        return QStringLiteral("データがありません");
    case Problem::PostalCode:
        return QStringLiteral("先頭に7桁の郵便番号がありません");
    case Problem::Character:
        return QStringLiteral("数字、「-」、A～Z 以外の文字があります");
    }
    return QString();
}

} // namespace CustomerBarcode
