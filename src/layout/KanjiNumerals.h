#pragma once
// Numbers of a vertical address written the way Japanese typesetting writes them:
// "桜新町２-１２-３" becomes "桜新町二―十二―三" (or "二の十二の三").
//
// Only ASCII and full-width digits are numbers here; digits of other scripts (Arabic-Indic,
// circled ①) and numbers already in kanji are left as they are. A postal code after "〒" and a
// telephone or fax number after its prefix (Tel, FAX, 電話, ...) are kept as written.

#include <QString>

namespace KanjiNumerals {

// The stored values of the field option (KANSUJI).
enum class Style {
    None = 0,   // しない
    Digits = 1, // 一二三: every digit on its own (202 -> 二〇二)
    Tens = 2,   // 十百: 10..99 with 十 (12 -> 十二, 20 -> 二十), any other number digit by digit
};

// What a hyphen between two numbers becomes (HYPHEN).
enum class Hyphen {
    Line = 0, // one vertical line centred in the column
    No = 1,   // "の"
};

// U+2015 HORIZONTAL BAR: in a vertical column the face's vertical form (or the turned glyph
// when a face has none) is a straight line along the column, centred across it.
constexpr char16_t kVerticalLine = 0x2015;

// Style and hyphen from their stored numbers; an unknown number counts as off / line.
Style styleFrom(int stored);
Hyphen hyphenFrom(int stored);

// The text with its numbers converted. Style::None returns the text unchanged.
QString convert(const QString& text, Style style, Hyphen hyphen);

// The kanji of one number written with ASCII digits (no sign, any length).
QString number(QStringView digits, Style style);

} // namespace KanjiNumerals
