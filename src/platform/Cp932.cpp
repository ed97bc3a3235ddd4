#include "platform/Cp932.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <memory>
#include <vector>

namespace {

constexpr char16_t kNone = 0xFFFF; // no character for this byte or pair
constexpr char16_t kReplacement = 0xFFFD;

// Decoding tables taken once from the ICU converter, so that the mapping is exactly
// the Windows one while the loop below decides what happens to faulty bytes.
struct Tables {
    std::array<char16_t, 256> single{};
    std::vector<char16_t> pairs; // (lead - 0x80) * 256 + trail

    Tables() : pairs(128 * 256, kNone)
    {
        for (int b = 0; b < 0x80; ++b)
            single[b] = char16_t(b);
        for (int b = 0x80; b < 0x100; ++b) {
            single[b] = kNone;
            if (Cp932::isLeadByte(uchar(b)))
                continue;
            QStringDecoder dec("windows-31j", QStringDecoder::Flag::Stateless);
            const char byte = char(b);
            const QString s = dec(QByteArrayView(&byte, 1));
            if (!dec.hasError() && s.size() == 1 && s.at(0).unicode() != 0x1A)
                single[b] = s.at(0).unicode();
        }

        // Every lead/trail pair followed by a line feed, decoded in one go; a pair
        // without a character comes out as U+001A.
        QByteArray all;
        all.reserve(60 * 189 * 3);
        std::vector<int> index;
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!Cp932::isLeadByte(uchar(lead)))
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (!Cp932::isTrailByte(uchar(trail)))
                    continue;
                all.append(char(lead));
                all.append(char(trail));
                all.append('\n');
                index.push_back((lead - 0x80) * 256 + trail);
            }
        }
        QStringDecoder dec("windows-31j");
        const QString text = dec(all);
        const auto parts = QStringView(text).split(u'\n');
        for (size_t i = 0; i < index.size() && i < size_t(parts.size()); ++i) {
            const QStringView p = parts.at(qsizetype(i));
            if (p.size() == 1 && p.at(0).unicode() != 0x1A && p.at(0).unicode() != kReplacement)
                pairs[size_t(index[i])] = p.at(0).unicode();
        }
    }
};

const Tables& tables()
{
    static const Tables t;
    return t;
}

} // namespace

namespace Cp932 {

QString decode(QByteArrayView bytes, DecodeStats* stats)
{
    const Tables& t = tables();
    // Short texts (CSV lines, INI values) are decoded into a scratch buffer and copied
    // out at their exact length, which keeps large files compact in memory.
    constexpr qsizetype kScratch = 4096;
    char16_t scratch[kScratch];
    QString big;
    char16_t* dst;
    if (bytes.size() <= kScratch) {
        dst = scratch;
    } else {
        big = QString(bytes.size(), Qt::Uninitialized);
        dst = reinterpret_cast<char16_t*>(big.data());
    }
    char16_t* const begin = dst;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    qsizetype bad = 0;
    qsizetype firstBad = -1;
    auto markBad = [&](const unsigned char* at) {
        if (firstBad < 0)
            firstBad = at - reinterpret_cast<const unsigned char*>(bytes.data());
        ++bad;
        *dst++ = kReplacement;
    };

    while (p < end) {
        const unsigned char b = *p;
        if (b < 0x80) {
            *dst++ = char16_t(b);
            ++p;
            continue;
        }
        if (isLeadByte(b)) {
            if (p + 1 < end && isTrailByte(p[1])) {
                const char16_t c = t.pairs[size_t(b - 0x80) * 256 + p[1]];
                if (c == kNone)
                    markBad(p);
                else
                    *dst++ = c;
                p += 2;
            } else {
                // The following byte is read anew: it may well be valid text.
                markBad(p);
                ++p;
            }
            continue;
        }
        const char16_t c = t.single[b];
        if (c == kNone)
            markBad(p);
        else
            *dst++ = c;
        ++p;
    }
    if (stats) {
        stats->badSequences = bad;
        stats->firstBadOffset = firstBad;
    }
    if (begin == scratch)
        return QString(reinterpret_cast<const QChar*>(scratch), dst - begin);
    big.truncate(dst - begin);
    return big;
}

namespace {

// The character Japanese Windows text uses where c has no code of its own.
char16_t windowsCounterpart(char16_t c)
{
    switch (c) {
    case 0x301C: return 0xFF5E; // WAVE DASH, what input methods give for "kara"
    case 0x2212: return 0xFF0D; // MINUS SIGN, in addresses copied from web pages
    case 0x2013: return 0xFF0D; // EN DASH
    case 0x2016: return 0x2225; // DOUBLE VERTICAL LINE
    case 0x2014: return 0x2015; // EM DASH
    case 0x00A2: return 0xFFE0; // cent
    case 0x00A3: return 0xFFE1; // pound
    case 0x00AC: return 0xFFE2; // not
    case 0x00A5: return 0xFFE5; // yen: the full-width sign, never the backslash byte
    case 0x00A0: return 0x0020; // no-break space
    default: return c;
    }
}

// The converter also has one-way fallbacks (U+F86F is written as the bytes of №): a text whose
// bytes would read back as other characters is refused, as one it has no code for.
bool readsBack(const QByteArray& bytes, QStringView text)
{
    QStringDecoder dec("windows-31j", QStringDecoder::Flag::Stateless);
    const QString back = dec(bytes);
    return !dec.hasError() && back == text;
}

} // namespace

bool encode(QStringView textIn, QByteArray* out, QString* firstUnmappable)
{
    // Plain ASCII is the common case (numbers, paths) and needs no converter.
    bool ascii = true;
    for (QChar c : textIn) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) {
        if (out)
            *out = textIn.toLatin1();
        return true;
    }

    QString mapped = textIn.toString();
    for (QChar& c : mapped)
        c = QChar(windowsCounterpart(c.unicode()));
    const QStringView text(mapped);

    // ASCII is written as it is; only the runs between go through the converter, whose
    // IBM mapping would swap the control codes 1A, 1C and 7F.
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    bool ok = !text.contains(QChar(kReplacement));
    for (qsizetype i = 0; ok && i < text.size();) {
        if (text.at(i).unicode() < 0x80) {
            bytes.append(char(text.at(i).unicode()));
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && text.at(end).unicode() >= 0x80)
            ++end;
        QStringEncoder enc("windows-31j", QStringEncoder::Flag::Stateless);
        const QByteArray run = enc(text.mid(i, end - i));
        ok = !enc.hasError() && readsBack(run, text.mid(i, end - i));
        bytes += run;
        i = end;
    }
    if (ok) {
        if (out)
            *out = std::move(bytes);
        return true;
    }
    if (firstUnmappable) {
        firstUnmappable->clear();
        // Find the culprit character by character (surrogate pairs kept whole); it is named
        // as it was typed (the mapping above is one unit for one unit).
        for (qsizetype i = 0; i < text.size();) {
            const qsizetype len = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate() ? 2 : 1;
            const QStringView one = text.mid(i, len);
            QStringEncoder single("windows-31j", QStringEncoder::Flag::Stateless);
            const QByteArray encoded = single(one);
            if (single.hasError() || one.contains(QChar(kReplacement)) || !readsBack(encoded, one)) {
                *firstUnmappable = textIn.mid(i, len).toString();
                break;
            }
            i += len;
        }
    }
    return false;
}

QByteArray encodeName(QStringView text, qsizetype maxBytes)
{
    QByteArray out;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate() ? 2 : 1;
        QByteArray piece;
        if (!encode(text.mid(i, len), &piece))
            piece = QByteArrayLiteral("?");
        if (maxBytes >= 0 && out.size() + piece.size() > maxBytes)
            break;
        out += piece;
        i += len;
    }
    return out;
}

bool canEncode(QStringView text)
{
    return encode(text, nullptr);
}

} // namespace Cp932
