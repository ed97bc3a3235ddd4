#pragma once
// Code page 932 (Windows Shift-JIS) as the Windows programs wrote it: 81 7C is U+FF0D,
// 81 60 is U+FF5E, 87 40 is ①, 5C stays the backslash.
//
// Reading never fails and never loses the text around a fault: every byte that is not
// valid code page 932 (a stray byte, a lead byte without a trail byte, a pair with no
// character, a lead byte cut off at the end) becomes one U+FFFD and is counted.
// Writing takes the characters that input methods and web pages produce where Japanese
// Windows text has a look-alike (〜 U+301C, − U+2212, – U+2013, ‖, —, ¢, £, ¬, ¥ and the
// no-break space) as Windows writes them: 〜 as 81 60, − and – as 81 7C, ¥ as 81 8F and so
// on. They read back as those Windows characters (～, －, ￥).
// Writing refuses a text that still holds a character code page 932 has no code for, so a
// user's file never receives a substitute byte pair in place of what they typed.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace Cp932 {

struct DecodeStats {
    qsizetype badSequences = 0;   // each became one U+FFFD
    qsizetype firstBadOffset = -1; // byte offset of the first one, -1 when none
};

QString decode(QByteArrayView bytes, DecodeStats* stats = nullptr);

// True and the bytes in *out when every character has a code; false leaves *out
// unchanged and, when asked, names the first character that has none.
bool encode(QStringView text, QByteArray* out, QString* firstUnmappable = nullptr);

// For names inside binary records (printer files, device-mode records), which must always be
// written: a character without a code becomes "?", as Windows writes it, and the bytes are
// cut to at most maxBytes (when not negative) without splitting a double-byte character.
QByteArray encodeName(QStringView text, qsizetype maxBytes = -1);

// Convenience: true when encode() would succeed.
bool canEncode(QStringView text);

// True for the bytes that begin a two-byte character.
inline bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
inline bool isTrailByte(unsigned char b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

} // namespace Cp932
