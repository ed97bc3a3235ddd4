#include "platform/LCMap.h"

#include <iterator>

namespace LCMap {
namespace {

// Half-width katakana U+FF61..U+FF9F and their full-width forms, in order.
const char16_t kKanaFull[] = {
    u'。', u'「', u'」', u'、', u'・', u'ヲ', u'ァ', u'ィ', u'ゥ', u'ェ', u'ォ', u'ャ', u'ュ', u'ョ', u'ッ', u'ー',
    u'ア', u'イ', u'ウ', u'エ', u'オ', u'カ', u'キ', u'ク', u'ケ', u'コ', u'サ', u'シ', u'ス', u'セ', u'ソ', u'タ',
    u'チ', u'ツ', u'テ', u'ト', u'ナ', u'ニ', u'ヌ', u'ネ', u'ノ', u'ハ', u'ヒ', u'フ', u'ヘ', u'ホ', u'マ', u'ミ',
    u'ム', u'メ', u'モ', u'ヤ', u'ユ', u'ヨ', u'ラ', u'リ', u'ル', u'レ', u'ロ', u'ワ', u'ン', u'゛', u'゜',
};
constexpr char16_t kKanaFirst = 0xFF61;
constexpr char16_t kKanaLast = 0xFF9F;
constexpr char16_t kVoicedMark = 0xFF9E;     // ﾞ
constexpr char16_t kSemiVoicedMark = 0xFF9F; // ﾟ

// Latin-1 signs with full-width forms U+FFE0..U+FFE6.
const char16_t kSignsHalf[] = {0x00A2, 0x00A3, 0x00AC, 0x00AF, 0x00A6, 0x00A5, 0x20A9};
constexpr char16_t kSignsFirst = 0xFFE0;

// Full-width katakana -> index into kKanaFull, or -1.
int kanaIndex(char16_t c)
{
    static const auto table = [] {
        struct T {
            short index[0x100];
        } t{};
        for (short& i : t.index)
            i = -1;
        for (int k = 0; k < int(std::size(kKanaFull)); ++k) {
            const char16_t f = kKanaFull[k];
            if (f >= 0x3000 && f < 0x3100)
                t.index[f - 0x3000] = short(k);
        }
        return t;
    }();
    if (c >= 0x3000 && c < 0x3100)
        return table.index[c - 0x3000];
    return -1;
}

// The voiced (dakuten) form of a full-width katakana, or 0.
char16_t voiced(char16_t base)
{
    if (base == u'ウ')
        return u'ヴ';
    // カ..ト: each syllable is followed by its voiced form (ツ ヅ and テ デ ト ド included).
    if ((base >= u'カ' && base <= u'チ' && (base - u'カ') % 2 == 0) || base == u'ツ' || base == u'テ' || base == u'ト')
        return char16_t(base + 1);
    // ハ..ホ: syllable, voiced, semi-voiced.
    if (base >= u'ハ' && base <= u'ホ' && (base - u'ハ') % 3 == 0)
        return char16_t(base + 1);
    return 0;
}

char16_t semiVoiced(char16_t base)
{
    if (base >= u'ハ' && base <= u'ホ' && (base - u'ハ') % 3 == 0)
        return char16_t(base + 2);
    return 0;
}

void appendHalf(QString& out, char16_t c)
{
    if (c >= 0xFF01 && c <= 0xFF5E) {
        out.append(QChar(char16_t(c - 0xFF01 + 0x21)));
        return;
    }
    if (c == 0x3000) {
        out.append(QLatin1Char(' '));
        return;
    }
    if (c >= kSignsFirst && c < kSignsFirst + std::size(kSignsHalf)) {
        out.append(QChar(kSignsHalf[c - kSignsFirst]));
        return;
    }
    const int k = kanaIndex(c);
    if (k >= 0) {
        out.append(QChar(char16_t(kKanaFirst + k)));
        return;
    }
    // Voiced syllables split into the base and the mark.
    const bool voicedRange = (c >= u'ガ' && c <= u'ポ') || c == u'ヴ';
    for (char16_t base = u'ウ'; voicedRange && base <= u'ホ'; ++base) {
        if (voiced(base) == c) {
            out.append(QChar(char16_t(kKanaFirst + kanaIndex(base))));
            out.append(QChar(kVoicedMark));
            return;
        }
        if (semiVoiced(base) == c) {
            out.append(QChar(char16_t(kKanaFirst + kanaIndex(base))));
            out.append(QChar(kSemiVoicedMark));
            return;
        }
    }
    out.append(QChar(c));
}

QString toHalf(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        // Fast path: most text is ASCII or kanji, which stay as they are.
        if (c < 0x3000 || (c >= 0x3100 && c < 0xFF01) || c > 0xFFE6)
            out.append(ch);
        else
            appendHalf(out, c);
    }
    return out;
}

QString toFull(const QString& text)
{
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c >= 0x21 && c <= 0x7E) {
            out.append(QChar(char16_t(c - 0x21 + 0xFF01)));
        } else if (c == 0x20) {
            out.append(QChar(char16_t(0x3000)));
        } else if (c >= kKanaFirst && c <= kKanaLast) {
            const char16_t full = kKanaFull[c - kKanaFirst];
            const char16_t next = i + 1 < n ? text.at(i + 1).unicode() : 0;
            char16_t combined = 0;
            if (next == kVoicedMark)
                combined = voiced(full);
            else if (next == kSemiVoicedMark)
                combined = semiVoiced(full);
            if (combined) {
                out.append(QChar(combined));
                ++i;
            } else {
                out.append(QChar(full));
            }
        } else {
            bool sign = false;
            for (size_t k = 0; k < std::size(kSignsHalf); ++k) {
                if (kSignsHalf[k] == c) {
                    out.append(QChar(char16_t(kSignsFirst + k)));
                    sign = true;
                    break;
                }
            }
            if (!sign)
                out.append(QChar(c));
        }
    }
    return out;
}

QString changeCase(const QString& text, bool upper)
{
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            const char32_t cp = QChar::surrogateToUcs4(c, text.at(i + 1));
            // Simple (one-to-one) case mapping only, as the locale mapping does.
            const char32_t m = upper ? QChar::toUpper(cp) : QChar::toLower(cp);
            out.append(QChar(QChar::highSurrogate(m)));
            out.append(QChar(QChar::lowSurrogate(m)));
            ++i;
        } else {
            out.append(upper ? c.toUpper() : c.toLower());
        }
    }
    return out;
}

} // namespace

QString map(const QString& text, unsigned flags)
{
    if (((flags & HalfWidth) && (flags & FullWidth)) || ((flags & UpperCase) && (flags & LowerCase)))
        return text;
    QString out = text;
    if (flags & UpperCase)
        out = changeCase(out, true);
    if (flags & LowerCase)
        out = changeCase(out, false);
    if (flags & HalfWidth)
        out = toHalf(out);
    if (flags & FullWidth)
        out = toFull(out);
    return out;
}

} // namespace LCMap
